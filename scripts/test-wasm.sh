#!/usr/bin/env bash
# The WebAssembly tier.  Builds build/wasm with emscripten (the module, the
# npm package folder build/wasm/wasm/package, and reference.html with its
# forms), installs the tests' npm packages from tests/wasm/package-lock.json
# and runs tests/wasm under node --test: every behaviour case through the
# module ("wasm: N passed, N failed, N skipped"), the JavaScript layer, the
# package packed, installed from its tarball and imported, calls drawn at
# random checked against the native tkcall (build/native, built if need be),
# and the reference page in headless Chromium (screenshot:
# build/wasm/reference.png).
#
#   scripts/test-wasm.sh [--build-only]
#
# Environment: TK_JOBS (build jobs, default 2).
set -euo pipefail
cd "$(dirname "$0")/.."

export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}  # emscripten's own JavaScript tools
dir=build/wasm
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$(em-config EMSCRIPTEN_ROOT)/cmake/Modules/Platform/Emscripten.cmake" >/dev/null
fi
cmake --build "$dir" -j "${TK_JOBS:-2}"
[ "${1:-}" = --build-only ] && exit 0

if [ ! -f build/native/CMakeCache.txt ]; then
  cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build build/native -j "${TK_JOBS:-2}" --target tkcall

(cd tests/wasm && npm ci --prefer-offline --no-audit --no-fund --loglevel=error)
node --test tests/wasm/*.test.mjs
