#!/usr/bin/env bash
# The SQL extensions in their engines: the SQLite extension (build/native/
# sql/twinekit.so) loaded by a test program linked with libsqlite3, and
# every behaviour case line SQL can carry through Debian's Python; then the
# same test program built with the address and undefined-behaviour
# sanitizers, extension and all.  Prints the count of case lines through
# SQL.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=${TK_JOBS:-$(nproc)}
targets=(twinekit_sqlite sqlite_extension_test tkcall)

run() {
  local dir=$1
  shift
  cmake -S . -B "$dir" "$@" >/dev/null
  local log=$dir/sqlite-tests.log
  if ! { cmake --build "$dir" -j "$jobs" --target "${targets[@]}" &&
         ctest --test-dir "$dir" -R '^sqlite_' -V; } >"$log" 2>&1; then
    cat "$log"
    return 1
  fi
  echo "$dir:"
  grep -E 'sqlite cases:|sql examples:|% tests passed' "$log" | sed 's/^[0-9]*: /  /'
}

run build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo
run build/asan -DCMAKE_BUILD_TYPE=Debug -DTK_SANITIZE=ON
