#!/usr/bin/env bash
# The whole test suite, every tier: the native tests, the same tests under
# the address and undefined-behaviour sanitizers, built with -m32 and under
# ThreadSanitizer; a fuzzing run; every behaviour case against the real
# TWINEKIT.DLL (32-bit Wine) and TWINEKIT64.DLL (64-bit Wine) and through
# both COM modules; the WebAssembly build under Node and in headless
# Chromium; the release archives, unpacked and built against as a user
# would; the first command (scripts/setup.sh) on a minimal Debian made from
# nothing; the SQL extensions in SQLite (its tests are part of the native
# and sanitizer tiers) and in SQLite shells for Windows under Wine, and in
# PostgreSQL; the .NET package.
# A tier that cannot run fails; none is skipped.
#
#   scripts/test.sh                      every tier
#   scripts/test.sh --tier NAME...       those tiers only (after the install steps)
#   scripts/test.sh --list               the tiers' names, lanes and contents
#
# Tiers of one lane run one after another, the lanes side by side: the
# emulated 32-bit Windows programs of the DLL and COM tiers (one core), the
# fuzzing run and the SQLite shells under Wine (one core), and the fresh
# system (downloads) beside the builds.  Each tier
# writes its own log (build/test-logs/NAME.log), printed whole when the
# tier ends; the run ends with a table of every tier's time and the total.
# A build directory that tiers of different lanes use is built once, by
# the first that needs it, while the others wait (need).
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc)

# The tiers: tier NAME LANE DESCRIPTION COMMAND, in the order each lane
# runs them; COMMAND is a line of shell, run from the checkout's top.
names=() lanes=() descriptions=() commands=()
tier() { names+=("$1") lanes+=("$2") descriptions+=("$3") commands+=("$4"); }

native_tests() {
  local dir=$1
  shift
  cmake -S . -B "$dir" "$@" >/dev/null &&
    cmake --build "$dir" -j "$jobs" &&
    ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

# 32-bit size_t: the same tests built with -m32 and run under qemu-i386.
# (Without sanitizers: under qemu, AddressSanitizer's 32-bit shadow memory
# fails on the tests' large allocations.)
native32_tests() {
  CFLAGS=-m32 CXXFLAGS=-m32 LDFLAGS=-m32 native_tests build/m32 \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTK_GTEST_FROM_SOURCE=ON
}

thread_tests() {
  cmake -S . -B build/tsan -DTK_TSAN=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
    cmake --build build/tsan -j "$jobs" --target twinekit_tests &&
    TSAN_OPTIONS=halt_on_error=1 build/tsan/tests/twinekit_tests --gtest_filter='Concurrency*'
}

# The build directories that tiers of several lanes share, configured as
# scripts/setup.sh does.
build_native() { cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null && cmake --build build/native -j "$jobs"; }
build_win32() { cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null && cmake --build build/win32 -j "$jobs"; }
build_win64() { cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null && cmake --build build/win64 -j "$jobs"; }
build_wasm() { TK_JOBS=$jobs bash scripts/test-wasm.sh --build-only; }

# Builds each shared directory named (native, win32, win64, wasm) once in
# this run: the first tier to ask builds it, a tier asking meanwhile waits
# for that build, and the tiers build nothing there themselves.
need() {
  local dir
  for dir; do
    (
      flock 9
      [ -e "$state/built-$dir" ] || { "build_$dir" && touch "$state/built-$dir"; }
    ) 9>"$state/build-$dir.lock" || { echo "test: building build/$dir failed"; return 1; }
  done
}

tier native   main  "native"                                  'need native && ctest --test-dir build/native --output-on-failure -j "$jobs"'
# The sanitizer build leaves out the benchmarks, which no test runs (the
# native build compiles them; the -m32 build has no Google Benchmark).
tier asan     main  "sanitizers (address, undefined)"         'native_tests build/asan -DCMAKE_BUILD_TYPE=Debug -DTK_SANITIZE=ON -DTK_BUILD_BENCHMARKS=OFF'
tier m32      main  "32-bit native (qemu-i386)"               'native32_tests'
tier tsan     main  "threads (ThreadSanitizer)"               'thread_tests'
tier fuzz     side  "fuzzing, smoke run"                      'bash scripts/fuzz.sh smoke'
tier dll      wine  "DLLs under Wine (32- and 64-bit)"        'need win32 win64 && bash scripts/run-dll-tests.sh --no-build'
tier com      wine  "COM modules under Wine (32- and 64-bit)" 'need native win32 win64 && bash scripts/run-com-tests.sh --no-build'
tier sqlwin   side  "SQLite extension for Windows under Wine (32- and 64-bit)" 'need native win32 win64 && bash tests/sql/build-windows-shell.sh build/sqlite-shell >/dev/null && bash scripts/test-sqlite-windows.sh --no-build'
tier wasm     main  "WebAssembly, npm package, reference page in Chromium" 'need native wasm && bash scripts/test-wasm.sh'
tier packages main  "release archives and npm package"        'need native win32 win64 wasm && bash tests/package/check_packages.sh'
tier fresh    fresh "first command on a fresh Debian (debootstrap)" 'bash tests/fresh/check_fresh_debian.sh'
tier postgres main  "PostgreSQL extension in a private server" 'need native && bash scripts/test-postgres.sh'
tier dotnet   main  ".NET package, xunit and VB.NET"          'need native win32 win64 && bash scripts/test-dotnet.sh'

usage() { echo "usage: scripts/test.sh [--list] [--tier NAME]..." >&2; exit 2; }
index_of() {
  local i
  for i in "${!names[@]}"; do [ "${names[i]}" = "$1" ] && { echo "$i"; return 0; }; done
  return 1
}
chosen=()
while [ $# -gt 0 ]; do
  case "$1" in
    --list)
      for i in "${!names[@]}"; do printf '%-9s %-6s %s\n' "${names[i]}" "${lanes[i]}" "${descriptions[i]}"; done
      exit 0 ;;
    --tier)
      [ $# -ge 2 ] || usage
      i=$(index_of "$2") || { echo "test: no tier '$2' (scripts/test.sh --list names them)" >&2; exit 2; }
      chosen+=("$i")
      shift ;;
    *) usage ;;
  esac
  shift
done
[ ${#chosen[@]} -gt 0 ] || chosen=("${!names[@]}")
# Declared order, whatever the order given.
mapfile -t chosen < <(printf '%s\n' "${chosen[@]}" | sort -n -u)

bash scripts/install-deps.sh --tests || exit 1
bash scripts/install-wine.sh || exit 1

logs=$root/build/test-logs
state=$(mktemp -d)
trap 'rm -rf "$state"' EXIT
mkdir -p "$logs"
begin=$SECONDS

# Runs tier I with its output in its log, then prints the log whole (one
# tier's log at a time) and records the result: run_one I
run_one() {
  local i=$1 name=${names[$1]} start=$SECONDS rc result
  local log=$logs/$name.log
  echo "=== $name: started at $((SECONDS - begin)) s (lane ${lanes[i]}; log $log)"
  (eval "${commands[i]}") </dev/null >"$log" 2>&1
  rc=$?
  if [ "$rc" = 0 ]; then result=passed; else result=FAILED; fi
  echo "$result $((SECONDS - start)) $((start - begin))" >"$state/result-$name"
  {
    flock 9
    echo
    echo "=== $name (${descriptions[i]}): log"
    cat "$log"
    echo "=== $name: $result in $((SECONDS - start)) s (exit $rc)"
  } 9>"$state/print.lock"
}

# Each lane in a background process, its tiers in order.
pids=()
for lane in $(for i in "${chosen[@]}"; do echo "${lanes[i]}"; done | awk '!seen[$0]++'); do
  (for i in "${chosen[@]}"; do [ "${lanes[i]}" = "$lane" ] && run_one "$i"; done; exit 0) &
  pids+=($!)
done
wait "${pids[@]}"

echo
echo "=== summary (start: seconds after the install steps)"
printf '  %-9s %-6s %8s %8s  %s\n' tier lane start time result
failed=()
for i in "${chosen[@]}"; do
  name=${names[i]}
  if [ -f "$state/result-$name" ]; then
    read -r result took at <"$state/result-$name"
  else
    result="DID NOT END" took=- at=-
  fi
  [ "$result" = passed ] || failed+=("$name")
  printf '  %-9s %-6s %6s s %6s s  %-7s %s\n' "$name" "${lanes[i]}" "$at" "$took" "$result" "${descriptions[i]}"
done
total=$((SECONDS - begin))
printf '  %-25s %6s s  (%d min %d s; the install steps before it %d s)\n' total "$total" \
  $((total / 60)) $((total % 60)) "$begin"
echo
if [ ${#failed[@]} -ne 0 ]; then
  echo "FAILED tiers: ${failed[*]}"
  exit 1
fi
echo "All tiers passed."
