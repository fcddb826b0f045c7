#!/usr/bin/env bash
# Installs what is missing on a fresh Debian machine (run as root): what
# scripts/setup.sh needs to build everything (the native library, its tests
# and tools, the Windows cross builds); with --tests, also what the test
# tiers of scripts/test.sh add.  Quick when all is present.
#
#   scripts/install-deps.sh [--tests]
set -euo pipefail

packages=(
  cmake make g++ python3 pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  llvm lld clang  # llvm-dlltool, lld-link and clang: the Microsoft-ABI import libraries and client
  mingw-w64 g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 binutils-mingw-w64
  libsqlite3-dev  # the SQLite extension
)
tests=(
  debootstrap  # the tier that runs the first command on a fresh system
  libclang-rt-dev  # the fuzzer and the sanitizers built with clang
  gcc-multilib g++-multilib  # the -m32 build
  emscripten nodejs chromium  # the WebAssembly build, its tests and the npm package
  osslsigncode openssl  # signing the DLLs; the package test's throwaway certificate
  sqlite3  # the release archive's extension, loaded by the shell
  postgresql-15 postgresql-server-dev-15  # the PostgreSQL extension (PGXS) and its server for the tests
)
case "${1:-}" in
  --tests) packages+=("${tests[@]}") ;;
  "") ;;
  *) echo "usage: scripts/install-deps.sh [--tests]" >&2; exit 2 ;;
esac
# npm comes with some builds of nodejs and is a package of its own in Debian's.
[ "${1:-}" != --tests ] || command -v npm >/dev/null || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# An index that fails to download (a mirror being synced) must not stop us
# when the packages we want come from the others.
apt-get update -qq || true
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
