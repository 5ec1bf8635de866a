# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64):
#   cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DZORVANE_GUI=OFF
# The POSIX-threads variant of the compilers is used, whose libstdc++ has std::thread and
# std::mutex. Programs are linked statically, so that they need no MinGW DLL beside them. When
# Wine is installed, CTest runs the test programs through it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZORVANE_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${ZORVANE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZORVANE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZORVANE_MINGW_TRIPLE}-windres)

# Headers and libraries of the target are looked for only under the MinGW root (zlib of
# libz-mingw-w64-dev, ...) and in build/windows-deps, where scripts/windows_spng.sh builds
# libspng, which Debian does not build for MinGW. Programs run during the build are the host's.
get_filename_component(ZORVANE_WINDOWS_SPNG
                       ${CMAKE_CURRENT_LIST_DIR}/../build/windows-deps/libspng-0.7.3 ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH /usr/${ZORVANE_MINGW_TRIPLE} ${ZORVANE_WINDOWS_SPNG})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Debian's wine64 package puts the 64-bit loader in /usr/lib/wine; /usr/bin/wine runs it too.
find_program(ZORVANE_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(ZORVANE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZORVANE_WINE})
endif()
