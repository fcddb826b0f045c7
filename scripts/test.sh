#!/usr/bin/env bash
# The whole test suite, every tier: the native tests, the same tests under
# the address and undefined-behaviour sanitizers, and every behaviour case
# against the real TWINEKIT.DLL (32-bit Wine) and TWINEKIT64.DLL (64-bit
# Wine).  A tier that cannot run fails; none is skipped.
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

tier "native" native_tests build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo
tier "sanitizers (address, undefined)" native_tests build/asan -DCMAKE_BUILD_TYPE=Debug -DTK_SANITIZE=ON
tier "DLLs under Wine (32- and 64-bit)" bash scripts/run-dll-tests.sh

echo
if [ ${#failed[@]} -ne 0 ]; then
  echo "FAILED tiers: ${failed[*]}"
  exit 1
fi
echo "All tiers passed."
