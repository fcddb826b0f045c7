#!/bin/bash
# Builds and runs the benchmarks of every export beside its peers, and
# writes docs/performance.md.  With mingw-w64 and 64-bit Wine present it
# also times the real TWINEKIT64.DLL under Wine and adds that table.
#
#   scripts/bench.sh
#
# Environment: TK_BENCH_BUILD (default build/bench), TK_BENCH_BUILD_W64
# (default build/bench-w64), TK_WINEPREFIX (default
# $HOME/.cache/twinekit-wine/win64, the prefix of scripts/run-under-wine.sh).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${TK_BENCH_BUILD:-$root/build/bench}
build64=${TK_BENCH_BUILD_W64:-$root/build/bench-w64}
repetitions=3
out=$root/docs/performance.md

echo "bench: building in $build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target twinekit_benchmarks >/dev/null

# The matchers' own stress benchmarks (BM_*) are left out of this run.
# glibc's heap keeps freed memory, as a long-running host's heap does, so
# that 1 MiB figures time the exports rather than pages mapped anew.
mkdir -p "$build/inputs"
GLIBC_TUNABLES=glibc.malloc.trim_threshold=4294967295:glibc.malloc.mmap_threshold=67108864 \
  TK_BENCH_INPUTS="$build/inputs" "$build/benchmarks/twinekit_benchmarks" \
  --benchmark_filter='^(peer|positions|fields|charsets|compress|encodings|names|patterns)/' \
  --benchmark_repetitions=$repetitions --benchmark_report_aggregates_only=true \
  --benchmark_min_time=0.1 \
  --benchmark_out="$build/results.json" --benchmark_out_format=json >/dev/null

# CPython's bytes.replace on the same texts, a peer of cStringSAR.
python3 "$root/benchmarks/cpython_replace.py" "$build/inputs" "$build/cpython.json"

# The real DLL under 64-bit Wine, with the BSTR cache on (no OANOCACHE).
windows=() note=""
wine64=/usr/lib/wine/wine64
if ! command -v x86_64-w64-mingw32-g++-win32 >/dev/null; then
  note="Not measured: mingw-w64 is not installed."
elif ! cmake -S "$root" -B "$build64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >/dev/null ||
     ! cmake --build "$build64" -j "$(nproc)" --target twinekit_dll_timing >/dev/null; then
  note="Not measured: the 64-bit build failed."
elif [ ! -x "$wine64" ]; then
  note="Not measured: 64-bit Wine is not installed (scripts/install-wine.sh)."
elif (unset OANOCACHE
      export WINEPREFIX=${TK_WINEPREFIX:-$HOME/.cache/twinekit-wine/win64} WINEARCH=win64 \
             WINEDEBUG=-all DISPLAY= WAYLAND_DISPLAY= WINEDLLOVERRIDES="mscoree=;mshtml="
      timeout --kill-after=30 900 "$wine64" "$build64/twinekit_dll_timing.exe" \
        >"$build64/timing.md"); then
  windows=(--windows "$build64/timing.md")
  note="\`twinekit_dll_timing.exe\` (benchmarks/windows) loads TWINEKIT64.DLL and calls a dozen exports on the same inputs, through the system's BSTR allocator with its cache on; the fastest of five batches of at least 20 ms each. Under Wine, on the same shared machine."
else
  note="Not measured: twinekit_dll_timing.exe did not run under Wine."
fi

cxx=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt")
python3 "$root/benchmarks/report.py" "$build/results.json" --peers "$build/cpython.json" \
  --out "$out" "${windows[@]}" \
  --date "$(date -u '+%Y-%m-%d %H:%M UTC')" \
  --machine "$(lscpu | sed -n 's/^Model name: *//p' | head -1), $(nproc) cores" \
  --compiler "$("$cxx" --version | head -1)" --build-type RelWithDebInfo \
  --repetitions $repetitions --windows-note "$note"
[ ${#windows[@]} -eq 0 ] || cat "$build64/timing.md"
echo "bench: wrote $out"
