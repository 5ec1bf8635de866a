#!/usr/bin/env bash
# libspng for the Windows build: Debian has no MinGW-w64 build of it, so this compiles Debian's
# source of libspng 0.7.3 with x86_64-w64-mingw32-gcc into a static libspng.a, against the zlib
# of libz-mingw-w64-dev. The source tarball is checked against the SHA256 sum in Debian's .dsc,
# which must be the one this script knows.
#
#   scripts/windows_spng.sh [FOLDER]   (default: build/windows-deps)
#
# leaves FOLDER/libspng-0.7.3/include/spng.h and FOLDER/libspng-0.7.3/lib/libspng.a, and does
# nothing more when they are already there. The cross build links them with -DSPNG_STATIC and
# libz.a (see Spng::spng in src/CMakeLists.txt).
set -euo pipefail
source "$(dirname "$0")/common.sh"

spng_version=0.7.3
spng_debian_revision=3
spng_pool=http://deb.debian.org/debian/pool/main/libs/libspng
# The sum Debian's .dsc gives for the tarball, kept here too: the .dsc comes over plain HTTP
# without its signature checked, so the two must agree.
spng_sha256=a50cadbe808ffda1a7fab17d145f52a23b163f34b3eb3696c7ecb5a52340fc1d
mingw_cc=x86_64-w64-mingw32-gcc-posix
mingw_ar=x86_64-w64-mingw32-ar

deps="${1:-$ZORVANE_ROOT/build/windows-deps}"
prefix="$deps/libspng-$spng_version"

if [ -f "$prefix/include/spng.h" ] && [ -f "$prefix/lib/libspng.a" ]; then
  echo "libspng $spng_version for Windows: $prefix"
  exit 0
fi

ensure_packages curl g++-mingw-w64-x86-64 libz-mingw-w64-dev

tarball="libspng_$spng_version.orig.tar.gz"
dsc="libspng_$spng_version-$spng_debian_revision.dsc"
downloads="$deps/downloads"
mkdir -p "$downloads"
for file in "$dsc" "$tarball"; do
  if [ ! -f "$downloads/$file" ]; then
    echo "Downloading $spng_pool/$file"
    # Exit code 3: the source could not be fetched (no way to Debian's archive), which
    # scripts/windows.sh takes as a missing tool rather than a failure.
    curl --fail --silent --show-error --location --retry 3 -o "$downloads/$file.part" \
      "$spng_pool/$file" || exit 3
    mv "$downloads/$file.part" "$downloads/$file"
  fi
done

# Checksums-Sha256 lines are " SUM SIZE NAME"; the tarball's is the one naming it.
expected=$(awk -v name="$tarball" '
  /^Checksums-Sha256:/ { in_sums = 1; next }
  /^[^ ]/ { in_sums = 0 }
  in_sums && $3 == name { print $1 }' "$downloads/$dsc")
actual=$(sha256sum "$downloads/$tarball" | awk '{print $1}')
if [ -z "$expected" ]; then
  echo "$downloads/$dsc has no SHA256 sum for $tarball." >&2
  exit 1
fi
if [ "$expected" != "$spng_sha256" ]; then
  echo "$downloads/$dsc gives the SHA256 $expected for $tarball, not $spng_sha256." >&2
  rm -f "$downloads/$dsc"
  exit 1
fi
if [ "$expected" != "$actual" ]; then
  echo "$downloads/$tarball has SHA256 $actual, but $dsc says $expected: the download" \
    "is damaged or not Debian's. It has been deleted; run again to download it anew." >&2
  rm -f "$downloads/$tarball"
  exit 1
fi

# Built in a scratch folder and moved into place at the end, so that an interrupted run leaves
# no half-built library to be taken for a finished one.
scratch="$deps/libspng-$spng_version.tmp"
rm -rf "$scratch"
mkdir -p "$scratch/include" "$scratch/lib"
tar -xzf "$downloads/$tarball" -C "$scratch"
source_dir="$scratch/libspng-$spng_version/spng"

echo "Building libspng $spng_version with $mingw_cc"
# SPNG_DISABLE_OPT: no SIMD filters, as Debian builds it (-Denable_opt=false).
"$mingw_cc" -O2 -DSPNG_STATIC -DSPNG_DISABLE_OPT=1 -c "$source_dir/spng.c" -o "$scratch/spng.o"
"$mingw_ar" rcs "$scratch/lib/libspng.a" "$scratch/spng.o"
cp "$source_dir/spng.h" "$scratch/include/"
cp "$scratch/libspng-$spng_version/LICENSE" "$scratch/" 2>/dev/null || true
rm -rf "$scratch/libspng-$spng_version" "$scratch/spng.o" "$prefix"
mv "$scratch" "$prefix"
echo "libspng $spng_version for Windows: $prefix"
