#!/usr/bin/env bash
# The Windows build: cross-compiles the libraries, zorvane-cli.exe, zorvane-sample.exe and the
# test suites with MinGW-w64 (cmake/mingw-w64.cmake) into build/windows, in Release, and runs
# the tests through CTest under Wine, one CTest test per suite, then compares what the Windows
# command line writes and says with what the Linux build's does. ./test runs it after the Linux
# builds; it exits non-zero when something fails, and 0 without testing anything when the
# cross compiler or Wine cannot be installed.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$ZORVANE_ROOT"

if ! ensure_packages cmake make curl g++-mingw-w64-x86-64 wine64 libz-mingw-w64-dev \
  googletest; then
  echo "The MinGW-w64 cross compiler or Wine could not be installed:" \
    "the Windows build is not tested."
  exit 0
fi

echo "== build/windows"
spng_status=0
scripts/windows_spng.sh || spng_status=$?
if [ "$spng_status" -eq 3 ]; then
  echo "libspng's source could not be fetched from Debian's archive:" \
    "the Windows build is not tested."
  exit 0
elif [ "$spng_status" -ne 0 ]; then
  exit "$spng_status"
fi
if [ -f build/windows/CMakeCache.txt ]; then
  cmake build/windows -DZORVANE_WERROR=ON >/dev/null
fi
# Release without debug information builds fastest; at -O2, as the Linux builds, since GCC 12's
# -O3 warns falsely (array-bounds, stringop-overflow) about some tests' byte vectors.
configure_and_build build/windows -DCMAKE_TOOLCHAIN_FILE="$ZORVANE_ROOT/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DZORVANE_GUI=OFF \
  -DZORVANE_WERROR=ON

# A Wine prefix of the build's own; made once (a few seconds), then reused.
export WINEPREFIX="$ZORVANE_ROOT/build/wine-prefix"
export WINEDEBUG=-all
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
  "$wine" wineboot --init
fi
status=0
(cd build/windows && ctest --progress --output-on-failure -j "$ZORVANE_JOBS" --timeout 600) ||
  status=1

# The command line end to end: the same files and messages as the Linux build's.
if [ -x build/default/src/zorvane-cli ]; then
  echo "== the Windows command line against the Linux one"
  tests/scripts/windows_same_output.sh build/default/src/zorvane-cli \
    build/default/tools/zorvane-sample build/windows/src/zorvane-cli.exe \
    build/windows/tools/zorvane-sample.exe || status=1
else
  echo "== no Linux build in build/default: the Windows command line is not compared with it"
fi
exit "$status"
