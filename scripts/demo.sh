#!/usr/bin/env bash
# A short demonstration: a few exports called through tkcall, as a new user
# would try them before declaring them in a Basic program.
set -uo pipefail
tkcall=${1:-build/native/tools/tkcall/tkcall}

show() {
  echo "\$ tkcall $*"
  "$tkcall" "$@" | sed 's/^/    /'
}

echo
echo "TwineKit, called through the native library:"
show cGetIn 'name|street|city' '|' 2
show cGetInR 'a.b.c' '.' 1
show cStringSAR 'The cat sat on the Cat mat' 'cat' 'dog' 0
show cAlign 'AB' 0 6
show cReverse 'A\0B'
show cFill 'HELLO' 'ab'
show cToHexa 'TwineKit'
show cMorse 'SOS'
show cArabicToRoman i2:1994
show cRomanToArabic 'mcmxciv'
show cProperName 'jean de la fontaine'
show cPatternExtMatch 'report-2024.txt' '*[0-9].txt'
show cInsertByMask '(###) ###-####' '' '5551234567'
echo
echo "All exports and their argument kinds: $tkcall --list"
