#!/usr/bin/env bash
# Builds what is missing and writes the release archives into dist/.
#
# dist/TwineKit-VERSION-windows.zip holds one folder, TwineKit-VERSION/:
#
#   x86/TWINEKIT.DLL            the 32-bit DLL, its module-definition file
#   x86/TWINEKIT.def            and its import libraries: TWINEKIT.lib for
#   x86/TWINEKIT.lib            Microsoft's linker, libTWINEKIT.dll.a for
#   x86/libTWINEKIT.dll.a       MinGW
#   x64/TWINEKIT64.DLL          the same for the 64-bit DLL
#   x64/TWINEKIT64.def
#   x64/TWINEKIT64.lib
#   x64/libTWINEKIT64.dll.a
#   com/x86/TWINEKITCOM.DLL     the COM module TwineKit.Strings (32-bit), its
#   com/x86/TwineKit.tlb        type library and its side-by-side manifest
#   com/x86/TwineKit.Strings.manifest
#   com/x64/TWINEKITCOM64.DLL   the same, 64-bit
#   com/x64/TwineKit.tlb
#   com/x64/TwineKit.Strings.manifest
#   include/twinekit.h          the C declarations
#   basic/TwineKit.bas          the Basic declarations module
#   docs/reference.md           the function reference, also as HTML
#   docs/reference.html
#   README.md  LICENSE  CHANGELOG.md
#   SHA256SUMS                  every other file's SHA-256 (sha256sum -c)
#
# dist/TwineKit-VERSION-linux-ARCH.tar.gz holds TwineKit-VERSION-linux-ARCH/:
# the `cmake --install` tree of the native build (bin/tkcall,
# include/twinekit.h, lib/libtwinekit.so and its soname links,
# lib/libtwinekit.a, lib/cmake/TwineKit/, lib/pkgconfig/twinekit.pc) with
# README.md, LICENSE and CHANGELOG.md.
#
# VERSION is the CMake project version, ARCH the machine's (x86_64).  The
# builds are build/native (RelWithDebInfo), build/win32 and build/win64,
# configured when missing as scripts/setup.sh does.  Every archive entry has
# the time of the last commit (or SOURCE_DATE_EPOCH), so one tree always
# gives the same archives.
#
# Environment: TK_JOBS (build jobs, default 2).
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=${TK_JOBS:-2}

die() {
  echo "package: $*" >&2
  exit 1
}

build() {
  local dir=$1
  shift
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S . -B "$dir" "$@" >/dev/null || die "configuring $dir failed"
  fi
  cmake --build "$dir" -j "$jobs" >"$dir.build.log" 2>&1 ||
    { tail -40 "$dir.build.log"; die "the build in $dir failed (log: $dir.build.log)"; }
}

build build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo
build build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
build build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake

missing=()
for f in build/win32/{TWINEKIT.DLL,TWINEKIT.def,TWINEKIT.lib,libTWINEKIT.dll.a} \
         build/win64/{TWINEKIT64.DLL,TWINEKIT64.def,TWINEKIT64.lib,libTWINEKIT64.dll.a} \
         build/win32/{TWINEKITCOM.DLL,TwineKit.tlb,TwineKit.Strings.manifest} \
         build/win64/{TWINEKITCOM64.DLL,TwineKit.tlb,TwineKit.Strings.manifest} \
         build/native/TwineKit.bas docs/reference.md scripts/render-reference.py \
         include/twinekit.h README.md LICENSE CHANGELOG.md; do
  [ -f "$f" ] || missing+=("$f")
done
[ ${#missing[@]} -eq 0 ] || die "missing: ${missing[*]}"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/native/CMakeCache.txt)
[ -n "$version" ] || die "no CMAKE_PROJECT_VERSION in build/native/CMakeCache.txt"
mtime=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 0)}

stage=build/package
rm -rf "$stage"

win=$stage/TwineKit-$version
mkdir -p "$win"/{x86,x64,com/x86,com/x64,include,basic,docs}
cp build/win32/{TWINEKIT.DLL,TWINEKIT.def,TWINEKIT.lib,libTWINEKIT.dll.a} "$win/x86"
cp build/win64/{TWINEKIT64.DLL,TWINEKIT64.def,TWINEKIT64.lib,libTWINEKIT64.dll.a} "$win/x64"
cp build/win32/{TWINEKITCOM.DLL,TwineKit.tlb,TwineKit.Strings.manifest} "$win/com/x86"
cp build/win64/{TWINEKITCOM64.DLL,TwineKit.tlb,TwineKit.Strings.manifest} "$win/com/x64"
cp include/twinekit.h "$win/include"
cp build/native/TwineKit.bas "$win/basic"
cp docs/reference.md "$win/docs"
python3 scripts/render-reference.py docs/reference.md "$win/docs/reference.html" ||
  die "rendering docs/reference.md failed"
cp README.md LICENSE CHANGELOG.md "$win"
(cd "$win" && find . -type f | LC_ALL=C sort | sed 's|^\./||' | xargs -d '\n' sha256sum) \
  >"$stage/SHA256SUMS"
mv "$stage/SHA256SUMS" "$win"

linux=$stage/TwineKit-$version-linux-$(uname -m)
cmake --install build/native --prefix "$linux" >/dev/null
cp README.md LICENSE CHANGELOG.md "$linux"

mkdir -p dist
zip=dist/TwineKit-$version-windows.zip
tgz=dist/$(basename "$linux").tar.gz
python3 scripts/archive.py "$win" "$zip" "$mtime"
python3 scripts/archive.py "$linux" "$tgz" "$mtime"
echo "package: wrote $zip and $tgz"
