#!/usr/bin/env bash
# Makes the release archives (scripts/package.sh) and checks them: each
# holds exactly the expected files; the Windows zip's SHA256SUMS matches
# every other file; the Linux archive, unpacked elsewhere, has the shared
# library's soname links and serves a small C program built with CMake
# (shared and static library) and with cc and pkg-config.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
here=$root/tests/package

bash "$root/scripts/package.sh"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$root/build/native/CMakeCache.txt")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

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

win=TwineKit-$version
unpack_and_list "$root/dist/$win-windows.zip" "$tmp/win" "$win" \
  README.md LICENSE CHANGELOG.md SHA256SUMS include/twinekit.h basic/TwineKit.bas \
  docs/reference.md docs/reference.html \
  x86/{TWINEKIT.DLL,TWINEKIT.def,TWINEKIT.lib,libTWINEKIT.dll.a} \
  x64/{TWINEKIT64.DLL,TWINEKIT64.def,TWINEKIT64.lib,libTWINEKIT64.dll.a} \
  com/x86/{TWINEKITCOM.DLL,TwineKit.tlb,TwineKit.Strings.manifest} \
  com/x64/{TWINEKITCOM64.DLL,TwineKit.tlb,TwineKit.Strings.manifest}
(cd "$tmp/win/$win" && sha256sum --check --quiet SHA256SUMS &&
  [ "$(wc -l <SHA256SUMS)" = $(($(find . -type f | wc -l) - 1)) ]) ||
  { echo "check_packages: SHA256SUMS does not match every file of the zip" >&2; exit 1; }

linux=TwineKit-$version-linux-$(uname -m)
unpack_and_list "$root/dist/$linux.tar.gz" "$tmp" "$linux" \
  README.md LICENSE CHANGELOG.md bin/tkcall include/twinekit.h \
  lib/{libtwinekit.so,libtwinekit.so.1,libtwinekit.so."$version",libtwinekit.a} \
  lib/pkgconfig/twinekit.pc \
  lib/cmake/TwineKit/TwineKit{Config,ConfigVersion,Targets,Targets-relwithdebinfo}.cmake
prefix=$tmp/$linux
[ "$(readlink "$prefix/lib/libtwinekit.so")" = libtwinekit.so.1 ]
[ "$(readlink "$prefix/lib/libtwinekit.so.1")" = "libtwinekit.so.$version" ]
readelf -d "$prefix/lib/libtwinekit.so.$version" | grep -q 'SONAME.*\[libtwinekit\.so\.1\]'
"$prefix/bin/tkcall" cReverse "'abc'" | grep -q cba

cmake -S "$here/consumer" -B "$tmp/consumer" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$tmp/consumer" >/dev/null
"$tmp/consumer/consumer"
"$tmp/consumer/consumer_static"
# shellcheck disable=SC2046 # pkg-config's output is a list of options
cc -o "$tmp/consumer_pc" "$here/consumer/consumer.c" \
  $(PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig pkg-config --cflags --libs twinekit)
LD_LIBRARY_PATH=$prefix/lib "$tmp/consumer_pc"
echo "check_packages: both archives pass"
