# GoogleTest for a cross build, compiled from the sources that Debian's googletest package ships,
# since no GoogleTest for the target system is installed. Defines GTest::gtest and
# GTest::gtest_main like find_package(GTest).
find_path(ZARN_GOOGLETEST_SOURCE CMakeLists.txt
    PATHS /usr/src/googletest
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
    DOC "The sources of GoogleTest"
    REQUIRED
)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory("${ZARN_GOOGLETEST_SOURCE}" googletest EXCLUDE_FROM_ALL SYSTEM)
