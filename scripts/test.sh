#!/usr/bin/env bash
# The whole test suite, every tier: the native tests, the same tests under
# the address and undefined-behaviour sanitizers, every behaviour case
# against the real TWINEKIT.DLL (32-bit Wine) and TWINEKIT64.DLL (64-bit
# Wine), through both COM modules from Wine's VBScript engine and through
# the Windows SQLite extension in SQLite shells of both widths; the
# WebAssembly build under Node and in headless Chromium; the release
# archives, unpacked and built against as a user would; last, the first
# command (scripts/setup.sh) on a minimal Debian made from nothing.  A tier
# that cannot run fails; none is skipped.
set -uo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
failed=()

tier() {
  local name=$1
  shift
  echo
  echo "=== $name"
  local start=$SECONDS
  if "$@"; then
    echo "=== $name: passed in $((SECONDS - start)) s"
  else
    echo "=== $name: FAILED after $((SECONDS - start)) s"
    failed+=("$name")
  fi
}

native_tests() {
  local dir=$1
  shift
  cmake -S . -B "$dir" "$@" >/dev/null &&
    cmake --build "$dir" -j "$jobs" &&
    ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

bash scripts/install-deps.sh || exit 1
bash scripts/install-wine.sh || exit 1

thread_tests() {
  cmake -S . -B build/tsan -DTK_TSAN=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
    cmake --build build/tsan -j "$jobs" --target twinekit_tests &&
    TSAN_OPTIONS=halt_on_error=1 build/tsan/tests/twinekit_tests --gtest_filter='Concurrency*'
}

# 32-bit size_t: the same tests built with -m32 and run under qemu-i386.
# (Without sanitizers: under qemu, AddressSanitizer's 32-bit shadow memory
# fails on the tests' large allocations.)
native32_tests() {
  CFLAGS=-m32 CXXFLAGS=-m32 LDFLAGS=-m32 native_tests build/m32 \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTK_GTEST_FROM_SOURCE=ON
}

tier "native" native_tests build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo
tier "sanitizers (address, undefined)" native_tests build/asan -DCMAKE_BUILD_TYPE=Debug -DTK_SANITIZE=ON
tier "32-bit native (qemu-i386)" native32_tests
tier "threads (ThreadSanitizer)" thread_tests
tier "fuzzing, smoke run" bash scripts/fuzz.sh smoke
tier "DLLs under Wine (32- and 64-bit)" bash scripts/run-dll-tests.sh
tier "COM modules under Wine (32- and 64-bit)" bash scripts/run-com-tests.sh
tier "SQLite extension for Windows under Wine (32- and 64-bit)" bash scripts/test-sqlite-windows.sh
tier "WebAssembly, npm package, reference page in Chromium" bash scripts/test-wasm.sh
tier "packages" bash tests/package/check_packages.sh
tier "first command on a fresh Debian (debootstrap)" bash tests/fresh/check_fresh_debian.sh
tier "SQL extensions in their engines" bash scripts/test-sql.sh
tier "PostgreSQL extension in a private server" bash scripts/test-postgres.sh
tier ".NET package, xunit and VB.NET" bash scripts/test-dotnet.sh

echo
if [ ${#failed[@]} -ne 0 ]; then
  echo "FAILED tiers: ${failed[*]}"
  exit 1
fi
echo "All tiers passed."
