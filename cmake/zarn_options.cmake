# The options of zarn's build. Building needs a compiler and, for the Linux program, Qt 6. The
# tests and benchmarks are on by default when the tools they need are found; the Windows program
# and the fuzz targets only when asked for. feature_summary() lists what was left out and how to
# have it. Warnings become errors with CMAKE_COMPILE_WARNING_AS_ERROR.
include(CMakeDependentOption)

option(ZARN_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
add_feature_info(Sanitizers ZARN_SANITIZE "AddressSanitizer and UndefinedBehaviorSanitizer")

# The Qt window is the Linux program; a Windows build makes the Win32 program instead.
if(WIN32)
    set(qt_default OFF)
else()
    set(qt_default ON)
endif()
option(ZARN_QT "Build the Qt 6 window" ${qt_default})
if(ZARN_QT)
    find_package(Qt6 REQUIRED COMPONENTS Widgets)
    set_package_properties(Qt6 PROPERTIES TYPE REQUIRED PURPOSE "zarn's window")
endif()

# GoogleTest: the installed library, or in a Windows build its sources, compiled for Windows and
# run under Wine.
if(CMAKE_CROSSCOMPILING)
    find_path(ZARN_GOOGLETEST_SOURCE CMakeLists.txt
        PATHS /usr/src/googletest
        NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
        DOC "The sources of GoogleTest"
    )
    find_program(ZARN_WINE wine)
    if(ZARN_GOOGLETEST_SOURCE AND ZARN_WINE)
        set(tests_found ON)
    else()
        set(tests_found OFF)
    endif()
    set(tests_need "GoogleTest's sources and Wine (scripts/setup windows)")
else()
    find_package(GTest QUIET)
    set(tests_found ${GTest_FOUND})
    set(tests_need "GoogleTest (scripts/setup tests)")
endif()
option(BUILD_TESTING "Build the tests" ${tests_found})

find_program(ZARN_XVFB Xvfb)
find_program(ZARN_XDOTOOL xdotool)
if(ZARN_XVFB AND ZARN_XDOTOOL)
    set(display_found ON)
else()
    set(display_found OFF)
endif()
cmake_dependent_option(ZARN_KILL_TESTS
    "Kill the real program at random moments of its transfers (slow; needs Xvfb and xdotool)"
    ${display_found} "BUILD_TESTING;ZARN_QT;UNIX" OFF
)
add_feature_info("Kill tests" ZARN_KILL_TESTS
    "the real program killed during its transfers; they need the tests, Xvfb and xdotool")
cmake_dependent_option(ZARN_PACKAGE_TESTS
    "Unpack the archive that cpack makes and start the program in it (needs Xvfb and xdotool)"
    ${display_found} "BUILD_TESTING;ZARN_QT OR WIN32" OFF
)
add_feature_info("Package tests" ZARN_PACKAGE_TESTS
    "the downloadable archive unpacked and started; they need the tests, Xvfb and xdotool")
if((ZARN_KILL_TESTS OR ZARN_PACKAGE_TESTS) AND NOT display_found)
    message(FATAL_ERROR "The kill and package tests need Xvfb and xdotool: scripts/setup tests")
endif()

option(ZARN_MEMCHECK "Also run the core tests under Valgrind memcheck" OFF)
add_feature_info(Memcheck ZARN_MEMCHECK "the core tests once more under Valgrind")

find_package(benchmark QUIET)
option(ZARN_BENCHMARKS "Build the benchmarks" ${benchmark_FOUND})
add_feature_info(Benchmarks ZARN_BENCHMARKS
    "Google Benchmark programs; they need libbenchmark-dev (scripts/setup tests)")

# The fuzz targets and their replays take the place of the tests. They need clang, whose libFuzzer
# they link, so they are built only when asked for: by the fuzz preset or -DZARN_FUZZ=ON.
option(ZARN_FUZZ "Build the fuzz targets and their replays instead of the tests" OFF)
add_feature_info(Fuzzing ZARN_FUZZ "libFuzzer targets in place of the tests; the fuzz preset, or \
-DZARN_FUZZ=ON with clang as the compiler (scripts/setup fuzz)")
add_feature_info(Tests "BUILD_TESTING;NOT ZARN_FUZZ" "the test suites; they need ${tests_need}")

# zarn.exe and zarn-cli.exe beside the Linux programs, cross-built with mingw-w64 in a build tree
# of their own, and packed into the Windows archive. Only when asked for: the package preset or
# -DZARN_WINDOWS=ON.
cmake_dependent_option(ZARN_WINDOWS
    "Cross-build zarn.exe, zarn-cli.exe and their archive with mingw-w64" OFF "NOT WIN32" OFF
)
add_feature_info("Windows programs" ZARN_WINDOWS "zarn.exe, zarn-cli.exe and their archive, \
cross-built; the package preset, or -DZARN_WINDOWS=ON with mingw-w64 (scripts/setup windows)")
if(ZARN_WINDOWS)
    find_program(ZARN_MINGW_CXX x86_64-w64-mingw32-g++-posix)
    if(NOT ZARN_MINGW_CXX)
        message(FATAL_ERROR "ZARN_WINDOWS needs mingw-w64: scripts/setup windows")
    endif()
endif()
