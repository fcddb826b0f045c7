#!/usr/bin/env bash
# Makes the release archives (scripts/package.sh) and checks them: each
# holds exactly the expected files; the Windows zip's SHA256SUMS matches
# every other file, and its README is the one for the Basic programmer;
# every file that the CHANGELOG names ships in one of them; the binaries are
# stripped and linked to their debug information in the debug archive; the
# Linux archive, unpacked elsewhere, has the shared library's soname links
# and serves a small C program built with CMake (shared and static library)
# and with cc and pkg-config; the npm package installs from its tarball and
# serves a user's script; the NuGet package holds the archives' own native
# libraries.  A first run signs the DLLs with a throwaway
# certificate made here, and their signatures are verified; the second,
# unsigned, must say so.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
here=$root/tests/package
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

openssl req -x509 -newkey rsa:2048 -nodes -subj "/CN=TwineKit package test" -days 2 \
  -keyout "$tmp/key.pem" -out "$tmp/cert.pem" 2>/dev/null
TK_SIGN_CERT=$tmp/cert.pem TK_SIGN_KEY=$tmp/key.pem bash "$root/scripts/package.sh" | tee "$tmp/signed.log"
grep -q "package: signed" "$tmp/signed.log"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$root/build/native/CMakeCache.txt")
win=TwineKit-$version
python3 -c 'import shutil, sys; shutil.unpack_archive(sys.argv[1], sys.argv[2])' \
  "$root/dist/$win-windows.zip" "$tmp/signed"
for dll in x86/TWINEKIT.DLL x64/TWINEKIT64.DLL x86/twinekit_sqlite.dll x64/twinekit_sqlite.dll; do
  osslsigncode verify -CAfile "$tmp/cert.pem" -in "$tmp/signed/$win/$dll" >"$tmp/verify.log" 2>&1 ||
    { cat "$tmp/verify.log"; echo "check_packages: $dll: no valid signature" >&2; exit 1; }
done
(cd "$tmp/signed/$win" && sha256sum --check --quiet SHA256SUMS)

TK_SIGN_CERT='' bash "$root/scripts/package.sh" | tee "$tmp/unsigned.log"
grep -q "the DLLs are not signed" "$tmp/unsigned.log"

# Unpacks ARCHIVE into DIR and checks its file list (links included)
# against the remaining arguments, relative to the top folder TOP.
unpack_and_list() {
  local archive=$1 dir=$2 top=$3
  shift 3
  python3 -c 'import shutil, sys; shutil.unpack_archive(sys.argv[1], sys.argv[2])' "$archive" "$dir"
  diff <(printf '%s\n' "$@" | LC_ALL=C sort) \
       <(cd "$dir/$top" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort) ||
    { echo "check_packages: $archive does not hold the expected files" >&2; return 1; }
}

unpack_and_list "$root/dist/$win-windows.zip" "$tmp/win" "$win" \
  README.md LICENSE CHANGELOG.md SHA256SUMS include/twinekit.h basic/TwineKit.bas \
  docs/reference.md docs/reference.html \
  x86/{TWINEKIT.DLL,TWINEKIT.def,TWINEKIT.lib,libTWINEKIT.dll.a,twinekit_sqlite.dll} \
  x64/{TWINEKIT64.DLL,TWINEKIT64.def,TWINEKIT64.lib,libTWINEKIT64.dll.a,twinekit_sqlite.dll} \
  com/x86/{TWINEKITCOM.DLL,TwineKit.tlb,TwineKit.Strings.manifest} \
  com/x64/{TWINEKITCOM64.DLL,TwineKit.tlb,TwineKit.Strings.manifest}
(cd "$tmp/win/$win" && sha256sum --check --quiet SHA256SUMS &&
  [ "$(wc -l <SHA256SUMS)" = $(($(find . -type f | wc -l) - 1)) ]) ||
  { echo "check_packages: SHA256SUMS does not match every file of the zip" >&2; exit 1; }
cmp "$tmp/win/$win/README.md" "$root/docs/windows-readme.md"

unpack_and_list "$root/dist/$win-debug.tar.gz" "$tmp/debug" "$win-debug" \
  x86/TWINEKIT.DLL.debug x64/TWINEKIT64.DLL.debug lib/libtwinekit.so."$version".debug bin/tkcall.debug \
  com/x86/TWINEKITCOM.DLL.debug com/x64/TWINEKITCOM64.DLL.debug \
  x86/twinekit_sqlite.dll.debug x64/twinekit_sqlite.dll.debug lib/twinekit.so.debug

# Stripped: no debug sections, and a debug link to the file of the debug
# archive, which holds them.  (grep reads to the end of what it is given:
# with -q it would stop at the first match, and under pipefail the writer's
# broken pipe would fail the test now and then.)
stripped_and_linked() {
  local objdump=$1 binary=$2 debug=$3
  "${objdump%objdump}objcopy" --dump-section .gnu_debuglink="$tmp/link" "$binary" "$tmp/discard" &&
    [ "$(python3 -c 'import sys; print(open(sys.argv[1], "rb").read().split(b"\0")[0].decode())' \
          "$tmp/link")" = "$(basename "$debug")" ] &&
    ! "$objdump" -h "$binary" | grep '\.debug_info' >/dev/null &&
    "$objdump" -h "$debug" | grep '\.debug_info' >/dev/null ||
    { echo "check_packages: $binary is not stripped and linked to $debug" >&2; return 1; }
}
stripped_and_linked i686-w64-mingw32-objdump "$tmp/win/$win/x86/TWINEKIT.DLL" "$tmp/debug/$win-debug/x86/TWINEKIT.DLL.debug"
stripped_and_linked i686-w64-mingw32-objdump "$tmp/win/$win/com/x86/TWINEKITCOM.DLL" \
  "$tmp/debug/$win-debug/com/x86/TWINEKITCOM.DLL.debug"
stripped_and_linked x86_64-w64-mingw32-objdump "$tmp/win/$win/com/x64/TWINEKITCOM64.DLL" \
  "$tmp/debug/$win-debug/com/x64/TWINEKITCOM64.DLL.debug"
stripped_and_linked x86_64-w64-mingw32-objdump "$tmp/win/$win/x64/TWINEKIT64.DLL" \
  "$tmp/debug/$win-debug/x64/TWINEKIT64.DLL.debug"
stripped_and_linked i686-w64-mingw32-objdump "$tmp/win/$win/x86/twinekit_sqlite.dll" \
  "$tmp/debug/$win-debug/x86/twinekit_sqlite.dll.debug"
stripped_and_linked x86_64-w64-mingw32-objdump "$tmp/win/$win/x64/twinekit_sqlite.dll" \
  "$tmp/debug/$win-debug/x64/twinekit_sqlite.dll.debug"

linux=TwineKit-$version-linux-$(uname -m)
unpack_and_list "$root/dist/$linux.tar.gz" "$tmp" "$linux" \
  README.md LICENSE CHANGELOG.md bin/tkcall include/twinekit.h docs/reference.md docs/reference.html \
  lib/{libtwinekit.so,libtwinekit.so.1,libtwinekit.so."$version",libtwinekit.a,twinekit.so} \
  lib/pkgconfig/twinekit.pc \
  lib/cmake/TwineKit/TwineKit{Config,ConfigVersion,Targets,Targets-relwithdebinfo}.cmake
prefix=$tmp/$linux
stripped_and_linked objdump "$prefix/lib/libtwinekit.so.$version" \
  "$tmp/debug/$win-debug/lib/libtwinekit.so.$version.debug"
stripped_and_linked objdump "$prefix/bin/tkcall" "$tmp/debug/$win-debug/bin/tkcall.debug"
stripped_and_linked objdump "$prefix/lib/twinekit.so" "$tmp/debug/$win-debug/lib/twinekit.so.debug"
! objdump -h "$prefix/lib/libtwinekit.a" | grep '\.debug_info' >/dev/null
[ "$(readlink "$prefix/lib/libtwinekit.so")" = libtwinekit.so.1 ]
[ "$(readlink "$prefix/lib/libtwinekit.so.1")" = "libtwinekit.so.$version" ]
readelf -d "$prefix/lib/libtwinekit.so.$version" | grep 'SONAME.*\[libtwinekit\.so\.1\]' >/dev/null
"$prefix/bin/tkcall" cReverse "'abc'" | grep cba >/dev/null
[ "$(sqlite3 :memory: ".load $prefix/lib/twinekit" "SELECT cGetIn('a|b|c', '|', 3);")" = c ]

# The NuGet package's native libraries are the archives' own, byte for byte.
python3 - "$root/dist/TwineKit.$version.nupkg" "$tmp/win/$win" "$prefix/lib/libtwinekit.so.$version" <<'PY'
import sys, zipfile
nupkg, win, so = sys.argv[1:]
shipped = {"runtimes/win-x86/native/TWINEKIT.DLL": f"{win}/x86/TWINEKIT.DLL",
           "runtimes/win-x64/native/TWINEKIT64.DLL": f"{win}/x64/TWINEKIT64.DLL",
           "runtimes/linux-x64/native/libtwinekit.so": so}
with zipfile.ZipFile(nupkg) as z:
    for inside, outside in shipped.items():
        if z.read(inside) != open(outside, "rb").read():
            sys.exit(f"check_packages: {inside} of {nupkg} is not the archives' {outside}")
PY

# The CHANGELOG names only files that ship: each `name.ext` in it, ext one
# of the kinds of file the release holds (not a ProgID such as
# TwineKit.Strings), is a release archive (VERSION standing for the
# version) or a file of one.
shipped=$( (cd "$tmp" && find "win/$win" "$linux" ! -type d -printf '%f\n'
            find "$root/dist" -maxdepth 1 -type f -printf '%f\n'))
files='`[A-Za-z0-9][A-Za-z0-9_./-]*\.\(DLL\|dll\|bas\|h\|md\|html\|a\|so\|gz\|tgz\|zip\|tlb\|manifest\|def\|lib\|ts\|mjs\|pc\)`'
for f in $(grep -o "$files" "$root/CHANGELOG.md" | tr -d '`' | sort -u); do
  f=${f//VERSION/$version}
  grep -qxF "$(basename "$f")" <<<"$shipped" ||
    { echo "check_packages: the CHANGELOG names $f, which no archive holds" >&2; exit 1; }
done

cmake -S "$here/consumer" -B "$tmp/consumer" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$tmp/consumer" >/dev/null
"$tmp/consumer/consumer"
"$tmp/consumer/consumer_static"
# shellcheck disable=SC2046 # pkg-config's output is a list of options
cc -o "$tmp/consumer_pc" "$here/consumer/consumer.c" \
  $(PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig pkg-config --cflags --libs twinekit)
LD_LIBRARY_PATH=$prefix/lib "$tmp/consumer_pc"
# The npm package, installed from its tarball and imported as a user would.
(cd "$root/tests/wasm" && npm ci --prefer-offline --no-audit --no-fund --loglevel=error)
TK_WASM_TARBALL="$root/dist/twinekit-$version.tgz" node --test "$root/tests/wasm/package.test.mjs"
echo "check_packages: the archives and the npm package pass"
