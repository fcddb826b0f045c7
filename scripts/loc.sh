#!/usr/bin/env bash
# Counts the lines that hold code (not blank, not only a comment): the
# product (src/, include/, tools/, basic/, wasm/), the test code (C, C++,
# JavaScript, Python and shell under tests/, harness/, fuzz/ and clients/,
# and the checkers in scripts/) and the behaviour case lines, and
# the ratio of test code to product, which we keep at about a third.
set -euo pipefail
cd "$(dirname "$0")/.."

# Code lines of the files on standard input: // and /* */ comments for C and
# C++, # for Python, shell and CMake, ' for Basic.
count() {
  xargs -r awk '
    FNR == 1 { block = 0; kind = FILENAME ~ /\.(py|sh|cases)$/ ? "#" : FILENAME ~ /\.bas$/ ? "q" : "c" }
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
    END { print n + 0 }'
}

product=$(git ls-files src include tools basic wasm | grep -E '\.(cpp|h|bas|mjs|js|py)$' | count)
tests=$( (git ls-files tests harness fuzz clients | grep -E '\.(c|cpp|h|py|sh|mjs)$'
          git ls-files 'scripts/check-*') | count)
cases=$(git ls-files 'tests/cases/*.cases' | count)
echo "product code lines: $product"
echo "test code lines:    $tests ($(awk -v t="$tests" -v p="$product" 'BEGIN { printf "%.2f", t / p }') of the product)"
echo "case lines:         $cases"
