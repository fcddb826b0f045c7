#!/usr/bin/env bash
# The SQLite extension for Windows in a real SQLite of each width, under
# Wine: SQLite's own shell, built for Windows from the amalgamation
# (tests/sql/build-windows-shell.sh), first tries the other width's
# twinekit_sqlite.dll, which it must refuse, then loads its own width's
# (build/win32 or build/win64; its image checked first) and runs every
# line of one case file (tests/cases/compress.cases) that SQL can carry, as
# TEXT and as BLOBs.
# tests/sql/sqlite_script.py writes the shell's script from the native
# tkcall; each shell starts once, with the whole script.
#
#   test-sqlite-windows.sh [--no-build] [--tier 32|64]...
#
# Ends with the closing line of each tier, e.g.
# "sqlite32: 123 passed, 0 failed (1 lines SQL cannot carry)".
# Environment as scripts/wine-tiers.sh, and TK_BUILD_NATIVE (the native
# build with tkcall, default build/native).
NAME=test-sqlite-windows
# shellcheck source=scripts/wine-tiers.sh
source "$(dirname "$0")/wine-tiers.sh"

native=${TK_BUILD_NATIVE:-$root/build/native}
cases=$root/tests/cases/compress.cases
shells=$root/build/sqlite-shell

if [ "$build" = 1 ]; then
  # Both widths: each tier needs the other's extension too.
  build_width 32 sqlite twinekit_sqlite && build_width 64 sqlite twinekit_sqlite || finish
  { cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
      cmake --build "$native" -j "$jobs" --target tkcall >"$native.tkcall.build.log" 2>&1; } ||
    { fail "building tkcall failed (log: $native.tkcall.build.log)"; finish; }
  bash "$root/tests/sql/build-windows-shell.sh" "$shells" >/dev/null ||
    { fail "building the SQLite shells failed"; finish; }
fi

# A path as the Windows shell names it.
windows_path() { echo "Z:${1//\//\\}"; }

for bits in "${tiers[@]}"; do
  own=$(build_dir "$bits")
  other=$(build_dir $((96 - bits)))
  if [ "$bits" = 32 ]; then shell=$shells/x86/sqlite3.exe; else shell=$shells/x64/sqlite3.exe; fi
  # Its image: the two entry points, system DLLs alone, the version.
  ctest --test-dir "$own" -R '^sqlite_module_image$' --output-on-failure ||
    fail "sqlite$bits: the image of $own/twinekit_sqlite.dll"
  script=$own/sqlite_cases.sql
  log=$own/sqlite_cases.log
  python3 "$root/tests/sql/sqlite_script.py" "$native/tools/tkcall/tkcall" "sqlite$bits" \
    "$(windows_path "$own/twinekit_sqlite")" --refuse "$(windows_path "$other/twinekit_sqlite")" \
    "$cases" >"$script" || { fail "sqlite$bits: writing the script failed"; continue; }
  start=$(date +%s)
  "$root/scripts/run-under-wine.sh" "$bits" "$shell" -batch :memory: ".read '$(windows_path "$script")'" 2>&1 |
    tr -d '\r' | tee "$log"
  rc=${PIPESTATUS[0]}
  line=$(grep -E "^sqlite$bits: [0-9]+ passed, [0-9]+ failed" "$log" | tail -1)
  if [ -z "$line" ]; then
    fail "sqlite$bits: the shell did not reach its closing line (exit $rc)"
    summary+=("sqlite$bits: DID NOT RUN ($(( $(date +%s) - start )) s)")
    continue
  fi
  [[ $line =~ \ 0\ failed ]] || fail "$line"
  # The shell's one error (which makes its exit status 1): the other
  # width's module refused by the loader as an image it cannot run
  # (ERROR_BAD_EXE_FORMAT, in Wine's words or Windows').
  errors=$(grep -c '^Error' "$log")
  grep -Eq '^Error: (Bad EXE format|.*not a valid Win32 application)' "$log" && [ "$errors" = 1 ] ||
    fail "sqlite$bits: not the one error that refuses the other width's extension (exit $rc, $errors errors)"
  summary+=("$line ($(( $(date +%s) - start )) s)")
done
finish
