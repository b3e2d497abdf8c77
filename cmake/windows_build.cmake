# zarn.exe and zarn-cli.exe, cross-built with mingw-w64 in a build tree of its own, windows/,
# inside this one, and their archive, made by that tree's cpack beside this tree's packages. Its tests run under Wine in
# the win32 preset's build.
include(ExternalProject)
ExternalProject_Add(zarn_windows
    SOURCE_DIR "${PROJECT_SOURCE_DIR}"
    BINARY_DIR "${CMAKE_BINARY_DIR}/windows"
    CMAKE_ARGS
        "-DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake"
        "-DCMAKE_BUILD_TYPE=Release"
        "-DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}"
        "-DCMAKE_COMPILE_WARNING_AS_ERROR=${CMAKE_COMPILE_WARNING_AS_ERROR}"
        -DBUILD_TESTING=OFF
        "-DZARN_PACKAGE_DIRECTORY=${ZARN_PACKAGE_DIRECTORY}"
    BUILD_COMMAND "${CMAKE_COMMAND}" --build <BINARY_DIR> --target zarn zarn-cli
    BUILD_BYPRODUCTS "${CMAKE_BINARY_DIR}/windows/ui/win32/zarn.exe"
                     "${CMAKE_BINARY_DIR}/windows/cli/zarn-cli.exe"
    INSTALL_COMMAND "${CMAKE_CPACK_COMMAND}" --config <BINARY_DIR>/CPackConfig.cmake
    BUILD_ALWAYS ON
)
