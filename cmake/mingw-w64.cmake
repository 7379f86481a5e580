# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 compiler (POSIX threads model).
# Programs link the GCC, C++ and winpthread runtimes statically, so that an .exe runs with no DLL
# beside it. Test programs run under Wine, in a throw-away prefix of the build tree.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VORNIK_MINGW_TRIPLE x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${VORNIK_MINGW_TRIPLE}-gcc-posix ${VORNIK_MINGW_TRIPLE}-gcc
             REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${VORNIK_MINGW_TRIPLE}-g++-posix ${VORNIK_MINGW_TRIPLE}-g++
             REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${VORNIK_MINGW_TRIPLE}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${VORNIK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Unicode API names by default; nothing older than Windows 7.
set(CMAKE_C_FLAGS_INIT "-DUNICODE -D_UNICODE -D_WIN32_WINNT=0x0601")
set(CMAKE_CXX_FLAGS_INIT "-DUNICODE -D_UNICODE -D_WIN32_WINNT=0x0601")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# add_test() and test discovery run Windows programs through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)

# GCC 12 at -O3 reports false -Wrestrict overlaps inside std::string (the warnings are errors in
# the presets): optimised builds use -O2.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of C release builds")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of C++ release builds")
