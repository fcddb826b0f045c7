#!/bin/bash
# Builds and runs the benchmarks of every export beside its peers, once for
# each form of the kernels the CPU runs, and writes docs/performance.md.
# With mingw-w64 and Wine present it also times the real TWINEKIT64.DLL
# and TWINEKIT.DLL under Wine and adds their tables; with SQLite's and
# PostgreSQL's development files present, the SQL functions beside the
# engines' built-ins (the PostgreSQL extension as scripts/test-postgres.sh
# last installed it).
#
#   scripts/bench.sh          everything
#   scripts/bench.sh --sql    the SQL section alone, in place of the one
#                             docs/performance.md ends with
#
# Environment: TK_BENCH_BUILD (default build/bench), TK_WINEPREFIX (default
# $HOME/.cache/twinekit-wine/win64, the prefix of scripts/run-under-wine.sh).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${TK_BENCH_BUILD:-$root/build/bench}
repetitions=3
out=$root/docs/performance.md
sql_only=0
case "${1:-}" in
  --sql) sql_only=1 ;;
  "") ;;
  *) echo "usage: scripts/bench.sh [--sql]" >&2; exit 2 ;;
esac

echo "bench: building in $build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTK_BUILD_TESTS=OFF >/dev/null

# The SQL functions per row beside the built-ins doing the same work, in
# SQLite (Debian's Python loads the extension) and in PostgreSQL.
sql_section() {
  echo
  echo "## In SQL"
  echo
  echo "Per row, over a table of a million rows: the query's CPU time less that of the same query over the bare column (\`benchmarks/sqlite_bench.py\`, \`benchmarks/postgres_bench.py\`; the PostgreSQL runs with workers are timed by the clock). The target: no slower than the built-in doing the same work."
  echo
  if cmake --build "$build" -j "$(nproc)" --target twinekit_sqlite >/dev/null 2>&1; then
    echo "SQLite $(/usr/bin/python3 -c 'import sqlite3; print(sqlite3.sqlite_version)'):"
    echo
    /usr/bin/python3 "$root/benchmarks/sqlite_bench.py" "$build/sql/twinekit" || echo "(the SQLite run failed)"
  else
    echo "SQLite was not measured: the extension did not build (libsqlite3-dev)."
  fi
  echo
  if [ -n "$(ls /usr/lib/postgresql/15/lib/twinekit.so 2>/dev/null)" ]; then
    bash "$root/scripts/postgres-server.sh" run python3 "$root/benchmarks/postgres_bench.py" ||
      echo "(the PostgreSQL run failed)"
  else
    echo "PostgreSQL was not measured: the extension is not installed (scripts/test-postgres.sh installs it)."
  fi
}

# With --sql, the report keeps everything before its SQL section, which
# is always its last.
if [ "$sql_only" = 1 ]; then
  [ -f "$out" ] || { echo "bench: no $out to add to: run scripts/bench.sh first" >&2; exit 1; }
  kept=$(mktemp)
  awk '/^## In SQL$/ {exit} /^$/ {blank++; next} {for (; blank > 0; blank--) print ""; print}' \
    "$out" >"$kept"
  { cat "$kept"; sql_section; } >"$out"
  rm -f "$kept"
  echo "bench: wrote the SQL section of $out"
  exit 0
fi

cmake --build "$build" -j "$(nproc)" --target twinekit_benchmarks >/dev/null

# The matchers' own stress benchmarks (BM_*) are left out of this run.
# glibc's heap keeps freed memory, as a long-running host's heap does, so
# that 1 MiB figures time the exports rather than pages mapped anew.  The
# whole run is made once for each form of the kernels the CPU runs; the
# best form's run is the report's main one.
mkdir -p "$build/inputs"
best=""
form_args=()
for form in plain sse2 ssse3 avx2; do
  echo "bench: the exports with the $form kernels"
  GLIBC_TUNABLES=glibc.malloc.trim_threshold=4294967295:glibc.malloc.mmap_threshold=67108864 \
    TWINEKIT_KERNELS=$form TK_BENCH_INPUTS="$build/inputs" "$build/benchmarks/twinekit_benchmarks" \
    --benchmark_filter='^(peer|floor|positions|fields|charsets|compress|encodings|names|patterns)/' \
    --benchmark_repetitions=$repetitions --benchmark_report_aggregates_only=true \
    --benchmark_min_time=0.1 \
    --benchmark_out="$build/results-$form.json" --benchmark_out_format=json >/dev/null
  # A form the CPU lacks runs the best one instead: its figures are left out.
  if grep -q "\"kernels\": \"$form\"" "$build/results-$form.json"; then
    form_args+=(--form "$form=$build/results-$form.json")
    best=$form
  fi
done
cp "$build/results-$best.json" "$build/results.json"

# CPython's bytes.replace on the same texts, a peer of cStringSAR.
python3 "$root/benchmarks/cpython_replace.py" "$build/inputs" "$build/cpython.json"

# The real DLLs under Wine, with the BSTR cache on (no OANOCACHE): the
# 32-bit one under 32-bit Wine, which on this machine runs through qemu.
windows=()
note="\`twinekit_dll_timing.exe\` (benchmarks/windows) loads the DLL of its width and calls every export once on 16 bytes and a dozen at every size, on the same inputs, through the system's BSTR allocator with its cache on; the fastest of five batches of at least 20 ms each. Under Wine, on the same shared machine; the 32-bit DLL under 32-bit Wine, which here runs through qemu's emulation of the CPU, so that its figures compare only within its own table."
wine64=/usr/lib/wine/wine64
for bits in 64 32; do
  dir=$root/build/bench-w$bits
  toolchain=$root/cmake/mingw-$([ $bits = 64 ] && echo x86_64 || echo i686).cmake
  if ! command -v x86_64-w64-mingw32-g++-win32 >/dev/null; then
    note="$note The $bits-bit DLL was not measured: mingw-w64 is not installed."
  elif ! cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null ||
       ! cmake --build "$dir" -j "$(nproc)" --target twinekit_dll_timing >/dev/null; then
    note="$note The $bits-bit build failed."
  elif [ ! -x "$wine64" ] || { [ $bits = 32 ] && [ ! -x /usr/lib/wine/wine ]; }; then
    note="$note The $bits-bit DLL was not measured: its Wine is not installed (scripts/install-wine.sh)."
  elif (unset OANOCACHE
        export WINEPREFIX=${TK_WINEPREFIX:-$HOME/.cache/twinekit-wine/win64} WINEARCH=win64 \
               WINEDEBUG=-all DISPLAY= WAYLAND_DISPLAY= WINEDLLOVERRIDES="mscoree=;mshtml="
        timeout --kill-after=30 1800 "$wine64" "$dir/twinekit_dll_timing.exe" \
          >"$dir/timing.md"); then
    windows+=(--windows "$bits=$dir/timing.md")
  else
    note="$note The $bits-bit DLL did not run under Wine."
  fi
done

cxx=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt")
python3 "$root/benchmarks/report.py" "$build/results.json" --peers "$build/cpython.json" \
  --out "$out" "${windows[@]}" "${form_args[@]}" \
  --date "$(date -u '+%Y-%m-%d %H:%M UTC')" \
  --machine "$(lscpu | sed -n 's/^Model name: *//p' | head -1), $(nproc) cores" \
  --compiler "$("$cxx" --version | head -1)" --build-type RelWithDebInfo \
  --repetitions $repetitions --windows-note "$note"
sql_section >>"$out"
echo "bench: wrote $out"
