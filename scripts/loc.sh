#!/usr/bin/env bash
# Counts the lines that hold code (not blank, not only a comment) of the
# tree, or of the revision given:
#
#   scripts/loc.sh [REV]
#
# the product (src/, include/, tools/, basic/, wasm/, dotnet/TwineKit/), the
# other code (benchmarks/ and scripts/), the test code and the behaviour
# case lines, and the test code's share of all the code, which we keep
# between a quarter and a third.  Test code is tests/, harness/, fuzz/,
# clients/, the test-only tooling under tools/test/ (the allocation watch,
# the case scripts), the checks scripts/check-* and the other projects of
# dotnet/.  C, C++ (with .inl), C#, JavaScript, Python, shell, Basic and
# VB.NET files count.
set -euo pipefail
cd "$(dirname "$0")/.."
rev=${1:-}

files() {
  if [ -n "$rev" ]; then git ls-tree -r --name-only "$rev" -- "$@"; else git ls-files -- "$@"; fi
}
# Code lines of the files on standard input: // and /* */ comments for C and
# C++, # for Python, shell and case files, ' for Basic.
count() {
  local n=0 path
  while read -r path; do
    [ -n "$rev" ] || [ -f "$path" ] || continue
    n=$((n + $( (if [ -n "$rev" ]; then git show "$rev:$path"; else cat "$path"; fi) | awk -v name="$path" '
      BEGIN { block = 0; kind = name ~ /\.(py|sh|cases)$/ ? "#" : name ~ /\.(bas|vb)$/ ? "q" : "c" }
      {
        line = $0; sub(/^[ \t]+/, "", line)
        if (line == "") next
        if (kind == "#") { if (line !~ /^#/) n++; next }
        if (kind == "q") { if (line !~ /^'"'"'/) n++; next }
        if (block) { if (line ~ /\*\//) { block = 0; sub(/.*\*\//, "", line); if (line != "") n++ } next }
        if (line ~ /^\/\//) next
        if (line ~ /^\/\*/) { if (line !~ /\*\//) block = 1; next }
        n++
      }
      END { print n + 0 }')))
  done
  echo "$n"
}
code='\.(c|cpp|h|inl|cs|py|sh|bas|vb|mjs|js)$'
test_only='^(tests|harness|fuzz|clients|tools/test)/|^scripts/check-|^dotnet/(?!TwineKit/)'

product=$(files src include tools basic wasm dotnet | grep -E "$code" | grep -vP "$test_only" | count)
other=$(files benchmarks scripts | grep -E "$code" | grep -vP "$test_only" | count)
tests=$(files tests harness fuzz clients tools scripts dotnet | grep -E "$code" | grep -P "$test_only" | count)
cases=$(files tests/cases | grep -E '\.cases$' | count)
all=$((product + other + tests))
echo "product code lines: $product (src, include, tools, basic, wasm, dotnet/TwineKit)"
echo "other code lines:   $other (benchmarks, scripts)"
echo "test code lines:    $tests (tests, harness, fuzz, clients, tools/test, scripts/check-*, dotnet's tests: $(awk -v t="$tests" -v a="$all" 'BEGIN { printf "%.1f", 100 * t / a }')% of all $all)"
echo "case lines:         $cases"
