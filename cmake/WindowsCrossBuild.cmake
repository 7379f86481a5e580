# The Windows build of this same tree, cross-compiled with MinGW-w64 beside the native build (in
# <build>/windows) so that the native test run can run its programs under Wine. Sets
# VORNIK_WINDOWS_BINARY_DIR when there is one; the target vornik_windows builds it.
option(VORNIK_BUILD_WINDOWS
       "Cross-compile the Windows build beside this one and run its tests under Wine" ON)

if(NOT VORNIK_BUILD_WINDOWS OR CMAKE_CROSSCOMPILING OR WIN32 OR NOT VORNIK_BUILD_TESTS
   OR VORNIK_SANITIZE OR VORNIK_SANITIZE_THREAD)
    return()
endif()
find_program(VORNIK_MINGW_CXX NAMES x86_64-w64-mingw32-g++-posix)
if(NOT VORNIK_MINGW_CXX)
    message(STATUS "No MinGW-w64 compiler (g++-mingw-w64-x86-64-posix): no Windows build, "
                   "its tests under Wine are left out")
    return()
endif()

include(ExternalProject)
set(VORNIK_WINDOWS_BINARY_DIR ${CMAKE_BINARY_DIR}/windows)
ExternalProject_Add(vornik_windows
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${VORNIK_WINDOWS_BINARY_DIR}
    CMAKE_GENERATOR ${CMAKE_GENERATOR}
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64.cmake
        -DCMAKE_BUILD_TYPE=Release
        -DVORNIK_WERROR=${VORNIK_WERROR}
        -DVORNIK_BUILD_QT=OFF
        -DVORNIK_BUILD_BENCH=OFF
        -DVORNIK_BUILD_TESTS=ON
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    EXCLUDE_FROM_ALL OFF)
