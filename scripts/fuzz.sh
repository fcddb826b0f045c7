#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, address and undefined sanitizers) and
# runs them: every export, the COM object's IDispatch work, the kernels.
#
#   bash scripts/fuzz.sh smoke        a short run from the seed corpus (CI), then
#                                     the IDispatch fuzzer and the kernels' differential one
#   bash scripts/fuzz.sh long [SECS]  a long run, every core, growing build/fuzz-corpus
#   bash scripts/fuzz.sh replay FILE  runs one saved input, with allocation stacks
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-smoke}
CC=clang CXX=clang++ cmake -S . -B build/fuzz -DTK_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/fuzz -j "$(nproc)" >/dev/null

fuzzer=build/fuzz/fuzz/fuzz_exports
# Allocations a hostile Long asks for (up to 2 GiB) fail quietly instead of
# stopping the run, and the library answers them with the empty result;
# capping them at 32 MiB (the fuzzer itself needs 20) keeps every run fast.
export ASAN_OPTIONS=allocator_may_return_null=1:max_allocation_size_mb=32
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
common=(-malloc_limit_mb=128 -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix=build/fuzz/)

case $mode in
  smoke)
    work=$(mktemp -d)
    cp fuzz/corpus/* "$work"/ 2>/dev/null || true
    TK_FUZZ_WRITE_SEEDS=$work "$fuzzer"
    # A fixed seed: every CI run walks the same mutations (as far as its
    # time allows), so a red smoke run is a finding, never chance.
    "$fuzzer" "${common[@]}" -seed="${FUZZ_SEED:-1}" -max_total_time="${FUZZ_SECONDS:-120}" "$work"
    rm -rf "$work"
    # The COM object's IDispatch work, from an empty corpus.
    work=$(mktemp -d)
    build/fuzz/fuzz/fuzz_dispatch "${common[@]}" -seed="${FUZZ_SEED:-1}" \
      -max_total_time="${FUZZ_DISPATCH_SECONDS:-45}" "$work"
    rm -rf "$work"
    # Every form of the kernels against the plain one, from an empty corpus.
    work=$(mktemp -d)
    build/fuzz/fuzz/fuzz_kernels "${common[@]}" -seed="${FUZZ_SEED:-1}" \
      -max_total_time="${FUZZ_VECTOR_SECONDS:-30}" "$work"
    rm -rf "$work"
    ;;
  long)
    # Fork mode on every core: a crash, leak or out-of-memory is saved under
    # build/fuzz/ and the run goes on.  The status lines' "#N" counts every
    # execution so far.  Allocation stacks are not recorded (a tenth faster);
    # `fuzz.sh replay` shows them for a saved input.
    mkdir -p build/fuzz-corpus
    cp -n fuzz/corpus/* build/fuzz-corpus/ 2>/dev/null || true
    TK_FUZZ_WRITE_SEEDS=build/fuzz-corpus "$fuzzer"
    ASAN_OPTIONS=$ASAN_OPTIONS:malloc_context_size=0 \
      "$fuzzer" "${common[@]}" -max_total_time="${2:-3600}" -fork="$(nproc)" \
      -ignore_crashes=1 -ignore_ooms=1 -ignore_timeouts=1 build/fuzz-corpus
    ;;
  replay)
    "$fuzzer" "${common[@]}" "${2:?an input file}"
    ;;
  *)
    echo "usage: $0 smoke | long [SECONDS] | replay FILE" >&2
    exit 2
    ;;
esac
