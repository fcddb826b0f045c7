#!/usr/bin/env bash
# One command from a fresh Debian machine: installs what is missing, builds
# the native library (shared and static), TWINEKIT.DLL and TWINEKIT64.DLL,
# and shows a few calls through the command-line tool.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/install-wine.sh

jobs=$(nproc)
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native -j "$jobs"
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build build/win32 -j "$jobs"
cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null
cmake --build build/win64 -j "$jobs"

echo
echo "Built:"
ls -lL build/native/libtwinekit.so build/native/libtwinekit.a build/win32/TWINEKIT.DLL \
      build/win64/TWINEKIT64.DLL | awk '{print "  " $NF " (" $5 " bytes)"}'

bash scripts/demo.sh build/native/tools/tkcall/tkcall
