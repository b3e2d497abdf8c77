# The parts of zarn's build. Each optional part is on when the tools it needs are found and left
# out when they are not, so that configuring never fails for want of an optional tool. A part
# asked for by name (-DZARN_KILL_TESTS=ON, or a preset) whose tools are missing stops the configure
# step and says what brings them. The feature summary at the end lists every part, on or off, and
# what each part that is off needs.
include(FeatureSummary)

# zarn_part(OPTION "what it is" NEEDS "what brings its tools" FOUND variables... [IF conditions...])
# Declares OPTION, on by default when every one of the FOUND variables is true. With IF, the part
# has a place only in builds where each of those conditions holds, and is off in the others.
function(zarn_part option summary)
    cmake_parse_arguments(PARSE_ARGV 2 part "" "NEEDS" "FOUND;IF")
    set(found ON)
    foreach(variable IN LISTS part_FOUND)
        if(NOT ${variable})
            set(found OFF)
        endif()
    endforeach()
    set(applies ON)
    foreach(condition IN LISTS part_IF)
        cmake_language(EVAL CODE "if(NOT (${condition}))\nset(applies OFF)\nendif()")
    endforeach()

    option(${option} "${summary}" ${found})
    if(NOT applies)
        set(${option} OFF)
    elseif(NOT found)
        if(${option})
            message(FATAL_ERROR "${option} is on, but it needs ${part_NEEDS}, which are not all "
                                "found: install them, or configure with -D${option}=OFF.")
        endif()
        string(APPEND summary "; needs ${part_NEEDS}")
    endif()
    add_feature_info(${option} ${option} "${summary}")
    set(${option} ${${option}} PARENT_SCOPE)
endfunction()

# Build modes, only when asked for: they change how everything is compiled.
option(ZARN_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
add_feature_info(ZARN_SANITIZE ZARN_SANITIZE "AddressSanitizer and UndefinedBehaviorSanitizer")
# The fuzz targets link clang's libFuzzer; CTest replays their corpus.
option(ZARN_FUZZ "Build the libFuzzer targets and replay their corpus (needs clang)" OFF)
add_feature_info(ZARN_FUZZ ZARN_FUZZ
    "libFuzzer targets; the fuzz preset, or clang as the compiler (scripts/setup fuzz)"
)
if(ZARN_FUZZ AND NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "ZARN_FUZZ is on, but the fuzz targets need clang as the compiler: "
                        "configure with the fuzz preset, or -DCMAKE_CXX_COMPILER=clang++.")
endif()

find_package(Qt6 QUIET COMPONENTS Widgets)
zarn_part(ZARN_QT "zarn, the Qt 6 window"
    NEEDS "Qt 6 Widgets (scripts/setup build)" FOUND Qt6_FOUND IF "NOT WIN32"
)

# A Windows build runs its tests under Wine, with GoogleTest compiled from its sources.
if(CMAKE_CROSSCOMPILING)
    find_path(ZARN_GOOGLETEST_SOURCE CMakeLists.txt
        PATHS /usr/src/googletest NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
        DOC "The sources of GoogleTest"
    )
    find_program(ZARN_WINE wine)
    zarn_part(BUILD_TESTING "the test suites, under Wine"
        NEEDS "GoogleTest's sources and Wine (scripts/setup windows)"
        FOUND ZARN_GOOGLETEST_SOURCE ZARN_WINE
    )
else()
    find_package(GTest QUIET)
    zarn_part(BUILD_TESTING "the test suites"
        NEEDS "GoogleTest (scripts/setup tests)" FOUND GTest_FOUND
    )
endif()

# The slow suites drive the real program on a virtual display of their own.
find_program(ZARN_XVFB Xvfb)
find_program(ZARN_XDOTOOL xdotool)
zarn_part(ZARN_KILL_TESTS "the real program killed at random moments of its transfers (slow)"
    NEEDS "Xvfb and xdotool (scripts/setup tests)" FOUND ZARN_XVFB ZARN_XDOTOOL
    IF BUILD_TESTING ZARN_QT UNIX
)
if(WIN32)
    zarn_part(ZARN_PACKAGE_TESTS "the Windows archive made, unpacked and started under Wine"
        NEEDS "Xvfb and xdotool (scripts/setup windows)" FOUND ZARN_XVFB ZARN_XDOTOOL
        IF BUILD_TESTING
    )
else()
    find_program(ZARN_DPKG_SHLIBDEPS dpkg-shlibdeps)
    find_program(ZARN_DESKTOP_FILE_VALIDATE desktop-file-validate)
    find_program(ZARN_APPSTREAMCLI appstreamcli)
    zarn_part(ZARN_PACKAGE_TESTS "the Linux archive and the Debian package made, checked and started"
        NEEDS "Xvfb, xdotool, dpkg-shlibdeps, desktop-file-validate and appstreamcli \
(scripts/setup tests)"
        FOUND ZARN_XVFB ZARN_XDOTOOL ZARN_DPKG_SHLIBDEPS ZARN_DESKTOP_FILE_VALIDATE
              ZARN_APPSTREAMCLI
        IF BUILD_TESTING ZARN_QT
    )
endif()

find_program(ZARN_VALGRIND valgrind)
zarn_part(ZARN_MEMCHECK "the core tests once more under Valgrind's memcheck"
    NEEDS "Valgrind (scripts/setup tests)" FOUND ZARN_VALGRIND
    IF BUILD_TESTING UNIX "NOT ZARN_SANITIZE"
)

find_package(benchmark QUIET)
zarn_part(ZARN_BENCHMARKS "Google Benchmark programs"
    NEEDS "Google Benchmark (scripts/setup tests)" FOUND benchmark_FOUND IF UNIX
)
