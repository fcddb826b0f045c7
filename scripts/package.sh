#!/usr/bin/env bash
# Builds what is missing and writes the release archives into dist/.
#
# dist/TwineKit-VERSION-windows.zip holds one folder, TwineKit-VERSION/:
#
#   x86/TWINEKIT.DLL            the 32-bit DLL, its module-definition file
#   x86/TWINEKIT.def            and its import libraries: TWINEKIT.lib for
#   x86/TWINEKIT.lib            Microsoft's linker, libTWINEKIT.dll.a for
#   x86/libTWINEKIT.dll.a       MinGW
#   x86/twinekit_sqlite.dll     the SQLite extension (32-bit)
#   x64/TWINEKIT64.DLL          the same for the 64-bit DLL
#   x64/TWINEKIT64.def
#   x64/TWINEKIT64.lib
#   x64/libTWINEKIT64.dll.a
#   x64/twinekit_sqlite.dll     the SQLite extension (64-bit)
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
#   README.md                   docs/windows-readme.md, for the Basic programmer
#   LICENSE  CHANGELOG.md
#   SHA256SUMS                  every other file's SHA-256 (sha256sum -c)
#
# reference.html holds the WebAssembly build's script: every function can
# be tried on it, from file:// too.  dist/twinekit-VERSION.tgz is the npm
# package, made by npm pack from build/wasm/wasm/package.
# dist/TwineKit.VERSION.nupkg is the NuGet package (scripts/dotnet-pack.sh)
# of the DLLs and the shared library that the archives hold, when the .NET
# SDK is present.
#
# dist/TwineKit-VERSION-linux-ARCH.tar.gz holds TwineKit-VERSION-linux-ARCH/:
# the `cmake --install` tree of the native build (bin/tkcall,
# include/twinekit.h, lib/libtwinekit.so and its soname links,
# lib/libtwinekit.a, the SQLite extension lib/twinekit.so,
# lib/cmake/TwineKit/, lib/pkgconfig/twinekit.pc) with
# docs/reference.md and docs/reference.html, README.md, LICENSE and
# CHANGELOG.md.
#
# Both archives ship lean: the DLLs, libtwinekit.so, twinekit.so and tkcall
# stripped, each with a debug link to its debug information, which goes to
# dist/TwineKit-VERSION-debug.tar.gz (x86/TWINEKIT.DLL.debug,
# x64/TWINEKIT64.DLL.debug, x86/twinekit_sqlite.dll.debug,
# x64/twinekit_sqlite.dll.debug, com/x86/TWINEKITCOM.DLL.debug,
# com/x64/TWINEKITCOM64.DLL.debug, lib/libtwinekit.so.VERSION.debug,
# lib/twinekit.so.debug, bin/tkcall.debug): addr2line or gdb read a crash address against it.
# libtwinekit.a loses its debug information and keeps its symbols.
#
# Given a certificate (TK_SIGN_CERT and TK_SIGN_KEY, PEM files; the key's
# password, if any, in TK_SIGN_PASSWORD), the DLLs, the COM modules and
# the SQLite extensions are signed (Authenticode, osslsigncode, signing
# time that of the archive entries) before SHA256SUMS is written; without
# one the script says that they are not signed.
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
TK_JOBS=$jobs bash scripts/test-wasm.sh --build-only >build/wasm.build.log 2>&1 ||
  { tail -40 build/wasm.build.log; die "the WebAssembly build failed (log: build/wasm.build.log)"; }

missing=()
for f in build/win32/{TWINEKIT.DLL,TWINEKIT.def,TWINEKIT.lib,libTWINEKIT.dll.a,twinekit_sqlite.dll} \
         build/win64/{TWINEKIT64.DLL,TWINEKIT64.def,TWINEKIT64.lib,libTWINEKIT64.dll.a,twinekit_sqlite.dll} \
         build/win32/{TWINEKITCOM.DLL,TwineKit.tlb,TwineKit.Strings.manifest} \
         build/win64/{TWINEKITCOM64.DLL,TwineKit.tlb,TwineKit.Strings.manifest} \
         build/native/TwineKit.bas docs/reference.md docs/windows-readme.md scripts/render-reference.py \
         include/twinekit.h README.md LICENSE CHANGELOG.md; do
  [ -f "$f" ] || missing+=("$f")
done
[ ${#missing[@]} -eq 0 ] || die "missing: ${missing[*]}"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/native/CMakeCache.txt)
[ -n "$version" ] || die "no CMAKE_PROJECT_VERSION in build/native/CMakeCache.txt"
mtime=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 0)}

stage=build/package
rm -rf "$stage"
debug=$stage/TwineKit-$version-debug

# Moves the debug information of BINARY to DIR/NAME.debug, strips BINARY
# and links it to that file, with the objcopy given.
split_debug() {
  local objcopy=$1 binary=$2 dir=$3
  local file
  file=$dir/$(basename "$binary").debug
  mkdir -p "$dir"
  "$objcopy" --only-keep-debug "$binary" "$file" &&
    "$objcopy" --strip-all --add-gnu-debuglink="$file" "$binary" ||
    die "splitting the debug information of $binary failed"
}

# Signs a DLL in place when a certificate was given.
sign() {
  local dll=$1 pass=()
  [ -z "${TK_SIGN_PASSWORD:-}" ] || pass=(-pass "$TK_SIGN_PASSWORD")
  osslsigncode sign -certs "$TK_SIGN_CERT" -key "$TK_SIGN_KEY" "${pass[@]}" \
    -n TwineKit -h sha256 -time "$mtime" -in "$dll" -out "$dll.signed" >/dev/null &&
    cat "$dll.signed" >"$dll" && rm "$dll.signed" || die "signing $dll failed"
}

win=$stage/TwineKit-$version
mkdir -p "$win"/{x86,x64,com/x86,com/x64,include,basic,docs}
cp build/win32/{TWINEKIT.DLL,TWINEKIT.def,TWINEKIT.lib,libTWINEKIT.dll.a,twinekit_sqlite.dll} "$win/x86"
cp build/win64/{TWINEKIT64.DLL,TWINEKIT64.def,TWINEKIT64.lib,libTWINEKIT64.dll.a,twinekit_sqlite.dll} "$win/x64"
cp build/win32/{TWINEKITCOM.DLL,TwineKit.tlb,TwineKit.Strings.manifest} "$win/com/x86"
cp build/win64/{TWINEKITCOM64.DLL,TwineKit.tlb,TwineKit.Strings.manifest} "$win/com/x64"
split_debug i686-w64-mingw32-objcopy "$win/x86/TWINEKIT.DLL" "$debug/x86"
split_debug x86_64-w64-mingw32-objcopy "$win/x64/TWINEKIT64.DLL" "$debug/x64"
split_debug i686-w64-mingw32-objcopy "$win/x86/twinekit_sqlite.dll" "$debug/x86"
split_debug x86_64-w64-mingw32-objcopy "$win/x64/twinekit_sqlite.dll" "$debug/x64"
split_debug i686-w64-mingw32-objcopy "$win/com/x86/TWINEKITCOM.DLL" "$debug/com/x86"
split_debug x86_64-w64-mingw32-objcopy "$win/com/x64/TWINEKITCOM64.DLL" "$debug/com/x64"
if [ -n "${TK_SIGN_CERT:-}" ] && [ -n "${TK_SIGN_KEY:-}" ]; then
  sign "$win/x86/TWINEKIT.DLL"
  sign "$win/x64/TWINEKIT64.DLL"
  sign "$win/com/x86/TWINEKITCOM.DLL"
  sign "$win/com/x64/TWINEKITCOM64.DLL"
  sign "$win/x86/twinekit_sqlite.dll"
  sign "$win/x64/twinekit_sqlite.dll"
  echo "package: signed the DLLs, the COM modules and the SQLite extensions with $TK_SIGN_CERT"
else
  echo "package: no certificate given (TK_SIGN_CERT, TK_SIGN_KEY): the DLLs are not signed"
fi
cp include/twinekit.h "$win/include"
cp build/native/TwineKit.bas "$win/basic"
cp docs/reference.md "$win/docs"
python3 scripts/render-reference.py docs/reference.md "$win/docs/reference.html" \
  build/wasm/wasm/reference_page.mjs ||
  die "rendering docs/reference.md failed"
cp docs/windows-readme.md "$win/README.md"
cp LICENSE CHANGELOG.md "$win"
(cd "$win" && find . -type f | LC_ALL=C sort | sed 's|^\./||' | xargs -d '\n' sha256sum) \
  >"$stage/SHA256SUMS"
mv "$stage/SHA256SUMS" "$win"

linux=$stage/TwineKit-$version-linux-$(uname -m)
cmake --install build/native --prefix "$linux" >/dev/null
split_debug objcopy "$linux/lib/libtwinekit.so.$version" "$debug/lib"
[ -f "$linux/lib/twinekit.so" ] || die "the native build made no SQLite extension (package libsqlite3-dev)"
split_debug objcopy "$linux/lib/twinekit.so" "$debug/lib"
split_debug objcopy "$linux/bin/tkcall" "$debug/bin"
objcopy --strip-debug "$linux/lib/libtwinekit.a" || die "stripping libtwinekit.a failed"
cp README.md LICENSE CHANGELOG.md "$linux"
mkdir -p "$linux/docs"
cp "$win/docs/reference.md" "$win/docs/reference.html" "$linux/docs"

mkdir -p dist
zip=dist/TwineKit-$version-windows.zip
tgz=dist/$(basename "$linux").tar.gz
python3 scripts/archive.py "$win" "$zip" "$mtime"
python3 scripts/archive.py "$linux" "$tgz" "$mtime"
python3 scripts/archive.py "$debug" "dist/$(basename "$debug").tar.gz" "$mtime"
npm_tgz=dist/$(cd dist && npm pack --silent ../build/wasm/wasm/package)
echo "package: wrote $zip, $tgz, dist/$(basename "$debug").tar.gz and $npm_tgz"

# The NuGet package, made from the very libraries the archives ship
# (stripped, and signed when they are).
rm -f dist/TwineKit.*.nupkg
if command -v dotnet >/dev/null; then
  bash scripts/dotnet-pack.sh "$win/x86" "$win/x64" "$linux/lib" >/dev/null ||
    die "packing the NuGet package failed"
  cp build/dotnet/packages/TwineKit.*.nupkg dist/
  echo "package: wrote $(ls dist/TwineKit.*.nupkg)"
else
  echo "package: no dotnet on the PATH (the .NET SDK): the NuGet package is not made"
fi
