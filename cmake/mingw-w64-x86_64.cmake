# Cross-build for 64-bit Windows with Debian's MinGW-w64 (the posix thread model, which
# std::thread and <mutex> need). Programs link the C and C++ runtimes statically so that each
# .exe runs on a bare Windows; tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Release programs without their symbols: a third of the size in the archive.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")

# Tests (and their discovery) run under Wine in a prefix of the build tree's own: its slow first
# start happens once per tree, and nothing outside the tree is touched. Mono and Gecko are not
# needed, so Wine is told not to offer them.
find_program(ZEPA_WINE wine)
if(ZEPA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${CMAKE_COMMAND} -E env WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix WINEDEBUG=-all
      WINEDLLOVERRIDES=mscoree,mshtml= ${ZEPA_WINE})
endif()
