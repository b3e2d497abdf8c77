# GoogleTest for a cross build, compiled from the sources that Debian's googletest package ships
# (found in zarn_options.cmake), since no GoogleTest for the target system is installed. Defines
# GTest::gtest and GTest::gtest_main like find_package(GTest).
if(NOT ZARN_GOOGLETEST_SOURCE)
    message(FATAL_ERROR "The tests of a Windows build need GoogleTest's sources: scripts/setup windows")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory("${ZARN_GOOGLETEST_SOURCE}" googletest EXCLUDE_FROM_ALL SYSTEM)
# Warnings as errors are for zarn's own code. The framework needs no optimising, which would double
# the time it takes to compile.
set_target_properties(gtest gtest_main PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
target_compile_options(gtest PRIVATE -O1)
