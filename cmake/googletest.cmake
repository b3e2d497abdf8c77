# GoogleTest for the tests: the installed library or, in a Windows build, its sources (found in
# zarn_options.cmake) compiled for Windows, since no GoogleTest for the target system is installed.
# Either way defines GTest::gtest and GTest::gtest_main.
if(NOT CMAKE_CROSSCOMPILING)
    find_package(GTest REQUIRED)
    return()
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory("${ZARN_GOOGLETEST_SOURCE}" googletest EXCLUDE_FROM_ALL SYSTEM)
# Warnings as errors are for zarn's own code. The framework needs no optimising, which would double
# the time it takes to compile.
set_target_properties(gtest gtest_main PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
target_compile_options(gtest PRIVATE -O1)
