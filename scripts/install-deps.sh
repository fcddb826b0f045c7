#!/usr/bin/env bash
# Installs what the native build, its tests and the Windows cross builds
# need on a fresh Debian machine (run as root).  Quick when all is present.
set -euo pipefail

packages=(
  cmake make g++ python3 pkg-config
  debootstrap  # the tier that runs the first command on a fresh system
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-dev
  llvm lld  # llvm-dlltool and lld-link: the Microsoft-ABI import libraries and client
  gcc-multilib g++-multilib
  mingw-w64 g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 binutils-mingw-w64
  emscripten nodejs chromium  # the WebAssembly build, its tests and the npm package
  osslsigncode openssl  # signing the DLLs; the package test's throwaway certificate
  libsqlite3-dev sqlite3  # the SQLite extension and its tests
  postgresql-15 postgresql-server-dev-15  # the PostgreSQL extension (PGXS) and its server for the tests
)
# npm comes with some builds of nodejs and is a package of its own in Debian's.
command -v npm >/dev/null || packages+=(npm)

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
