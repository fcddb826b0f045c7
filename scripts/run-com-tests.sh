#!/bin/bash
# The COM modules under Wine, TWINEKITCOM64.DLL under 64-bit Wine and
# TWINEKITCOM.DLL under 32-bit Wine, in one prefix.  The widths share the
# registry, so the runs go through the states of both widths' registration
# (each emulated 32-bit start costs over a minute: no run is added for a
# state that an existing run can check):
#
#   reg      nothing registered (the first run deletes what an earlier one
#            left): the object is made through the manifest alone
#            (registration-free activation)
#   regsvr32 registers both modules machine-wide; then, for each width,
#   com      the registry as COM needs it; the type library's names; every
#            case line through the interface of the type library (early
#            binding) and through IDispatch; the errors of IDispatch; no
#            allocation left behind by any call; text that code page 1252
#            lacks; the object from another apartment, and (64-bit only)
#            from two threads at once; a held class factory keeps the
#            module loaded; the module works from a folder deeper than
#            MAX_PATH
#   vbs      every case line a script can pass, from Wine's VBScript engine
#            through CreateObject("TwineKit.Strings") (written by casescripts
#            --vbscript from the case files)
#   vbserrors the errors a script sees, and arguments as scripts pass them
#            (the 32-bit one after the 64-bit module's unregistration)
#   js       the case lines in ASCII from Wine's JScript engine (64-bit only)
#   the Windows README's VBScript and JScript examples, printing what it
#            shows (64-bit only)
#   vbsjapan, dbcs  (64-bit only) Wine with a Japanese locale, the ANSI code
#            page 932 (double-byte): the case lines written for it (casescripts
#            --vbscript-932), and what the bytes of a two-byte character
#            become when the library parts them (tests/com/dbcs.vbs)
#   alone32by64  regsvr32 /u of the 64-bit module: the 32-bit one's registration
#            intact, nothing of the 64-bit one's left; vbserrors32 then
#            makes its object by CreateObject
#   alone64  the same the other way round, the object made by ProgID
#   unregistered64  both unregistered: nothing of the class in either view;
#            the module registers from a folder deeper than MAX_PATH and
#            unregisters
#   user64, user32by64  regsvr32 /n /i:user of each width in turn: the
#            keys under the user's classes alone
#   useralone32by64  the 64-bit module's unregistration for the user leaves the
#            32-bit one's
#   clean64  both unregistered for the user: nothing of the class anywhere
#
# The checks of both views run from the 64-bit client (KEY_WOW64_32KEY and
# KEY_WOW64_64KEY; "by64" in a label).  With one width given, its runs are
# the same, without the other width's states, and its client checks.
#
# Each program must print its closing line ("LABEL: N passed, N failed");
# cscript prints nothing and exits 0 when a script does not parse or stops
# on an error, so a script's run counts only by that line.  A tier that
# cannot run fails.  Ends with every line and time; exits non-zero on any
# failure.
#
#   scripts/run-com-tests.sh [--no-build] [--tier 32|64]...
#
# Environment: TK_BUILD32, TK_BUILD64, TK_BUILD_NATIVE (build directories,
# default build/win32, build/win64, build/native, whose casescripts writes the
# scripts), TK_JOBS, and those of scripts/run-under-wine.sh.
set -uo pipefail

NAME=run-com-tests
# shellcheck source=wine-tiers.sh
source "$(dirname "$0")/wine-tiers.sh"
native=${TK_BUILD_NATIVE:-$root/build/native}
wine_run() { "$root/scripts/run-under-wine.sh" "$@"; }

module() { if [ "$1" = 32 ]; then echo TWINEKITCOM.DLL; else echo TWINEKITCOM64.DLL; fi; }

# The scripts come from the case files through the native casescripts.
write_scripts() {
  local dir=$1
  if [ "$build" = 1 ] || [ ! -x "$native/tools/test/casescripts/casescripts" ]; then
    { cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
      make -C "$native" -j"$jobs" casescripts >"$native.casescripts.log" 2>&1; } ||
      { tail -20 "$native.casescripts.log"; fail "casescripts could not be built"; return 1; }
  fi
  "$native/tools/test/casescripts/casescripts" --vbscript "$root"/tests/cases/*.cases >"$dir/com-cases.vbs" &&
    "$native/tools/test/casescripts/casescripts" --vbscript-932 "$root"/tests/cases/*.cases >"$dir/com-cases-932.vbs" &&
    "$native/tools/test/casescripts/casescripts" --jscript "$root"/tests/cases/*.cases >"$dir/com-cases.js" ||
    { fail "casescripts could not write the scripts"; return 1; }
  python3 "$root/scripts/readme-examples.py" "$root/docs/windows-readme.md" "$dir" ||
    { fail "the README's examples could not be read"; return 1; }
}

prepare() {
  local bits=$1 dir start
  dir=$(build_dir "$bits")
  start=$(date +%s)
  if [ "$build" = 1 ]; then
    build_width "$bits" "com$bits" twinekit twinekit_com com_client || return 1
  fi
  [ -f "$dir/$(module "$bits")" ] && [ -f "$dir/com_client.exe" ] ||
    { fail "com$bits: no $(module "$bits") or com_client.exe in $dir"; return 1; }
  write_scripts "$dir" || return 1
  echo "run-com-tests: com$bits built in $(( $(date +%s) - start )) s"
  ctest --test-dir "$dir" -R '^(dll|com_module|com_client)_image$' --output-on-failure ||
    fail "com$bits: the checks of the built images failed"
  return 0
}

# A README example: what it prints must be what the README shows.
example() {
  local bits=$1 file=$2 out
  out=$(wine_run --plain "$bits" cscript.exe //nologo "$file" 2>&1 | grep -v '^run-under-wine:' | tr -d '\r')
  if [ "$out" = "$(cat "$file.out")" ]; then
    summary+=("$(basename "$file") ($bits-bit): prints what the README shows")
  else
    printf 'printed:\n%s\nthe README shows:\n%s\n' "$out" "$(cat "$file.out")"
    fail "$(basename "$file") ($bits-bit) does not print what the README shows"
  fi
}

# The case lines and tests/com/dbcs.vbs under Wine with a Japanese locale
# (ja_JP.UTF-8, from scripts/install-wine.sh), whose ANSI code page is 932.
# Its currency symbol is the yen's; the case lines' numeric text is that of
# the United States settings, so the user's currency symbol is set to "$"
# first (Wine rewrites the user's settings whenever the locale changes, so
# this runs under the same locale as the tiers): code_page_932 BITS
code_page_932() {
  local bits=$1
  if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf-\?8'; then
    fail "vbsjapan$bits, dbcs$bits: no locale ja_JP.UTF-8 (run scripts/install-wine.sh as root)"
    summary+=("vbsjapan$bits, dbcs$bits: DID NOT RUN (no locale ja_JP.UTF-8)")
    return
  fi
  local LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
  export LANG LC_ALL
  wine_run --plain "$bits" reg.exe add 'HKCU\Control Panel\International' /v sCurrency /t REG_SZ /d '$' /f \
    >/dev/null 2>&1 || fail "vbsjapan$bits: the currency symbol could not be set"
  run_tier "vbsjapan$bits" "$bits" cscript.exe //nologo "$(build_dir "$bits")/com-cases-932.vbs" "vbsjapan$bits"
  run_tier "dbcs$bits" "$bits" cscript.exe //nologo "$root/tests/com/dbcs.vbs" "dbcs$bits"
}

# com_client's mode of two threads calling the object at once, on 64-bit
# only: under qemu's user emulation, 32-bit Wine crashes when two threads run
# at once, with or without the object (two threads making and freeing BSTRs
# are enough): concurrent BITS
concurrent() { if [ "$1" = 64 ]; then echo threads; fi; }

# regsvr32 with options; must succeed unless told otherwise: regsvr32 BITS may-fail|must OPTION... DLL
regsvr32() {
  local bits=$1 need=$2 rc
  shift 2
  wine_run --plain "$bits" regsvr32.exe "$@" >/dev/null 2>&1
  rc=$?
  if [ "$need" = must ] && [ "$rc" != 0 ]; then
    fail "regsvr32 $* ($bits-bit) exited with $rc"
  fi
  summary+=("regsvr32 $(echo "$*" | sed "s|$root/||g") ($bits-bit): exit $rc")
}

dll() { echo "$(build_dir "$1")/$(module "$1")"; }
client() { echo "$(build_dir "$1")/com_client.exe"; }

# The widths that built, 64 first: its client, a cheap start, does the
# checks that read both views.
widths=()
for bits in 64 32; do
  [[ " ${tiers[*]} " == *" $bits "* ]] || continue
  if prepare "$bits"; then
    widths+=("$bits")
  else
    summary+=("com$bits: DID NOT RUN (build)")
  fi
done
[ ${#widths[@]} -gt 0 ] || finish
checker=${widths[0]}
both=0
[ ${#widths[@]} = 2 ] && both=1

# Nothing registered (the first run deletes what an earlier one left): the
# object made through the manifest alone.
for bits in "${widths[@]}"; do
  purge=()
  [ "$bits" = "$checker" ] && purge=(purge)
  run_tier "reg$bits" "$bits" "$(client "$bits")" "reg$bits" "${purge[@]}" none regfree \
    "$(build_dir "$bits")/TwineKit.Strings.manifest"
done

# Both widths registered machine-wide, and every tier of each.
for bits in "${widths[@]}"; do regsvr32 "$bits" must /s "$(dll "$bits")"; done
for bits in "${widths[@]}"; do
  dir=$(build_dir "$bits")
  run_tier "com$bits" "$bits" "$(client "$bits")" "com$bits" machine "$(dll "$bits")" names early late errors \
    text apartments $(concurrent "$bits") factory "$(dll "$bits")" longpath "$(dll "$bits")"
  run_tier "vbs$bits" "$bits" cscript.exe //nologo "$dir/com-cases.vbs" "vbs$bits"
  # With both widths, the 32-bit script of errors runs below, once the
  # 64-bit module is unregistered.
  if [ "$both" = 0 ] || [ "$bits" = 64 ]; then
    run_tier "vbserrors$bits" "$bits" cscript.exe //nologo "$root/tests/com/errors.vbs" "vbserrors$bits"
  fi
  # The JScript engine and the README's examples test the scripts more than
  # the module, whose calls the runs above already make on this width; each
  # emulated 32-bit start costs over a minute, so they run on 64-bit only.
  if [ "$bits" = 64 ]; then
    run_tier "js$bits" "$bits" cscript.exe //nologo "$dir/com-cases.js" "js$bits"
    example "$bits" "$dir/readme-example.vbs"
    example "$bits" "$dir/readme-example.js"
    code_page_932 "$bits"
  fi
done

# Unregistering one width leaves the other's working: the 32-bit module
# alone, its script made through CreateObject; then the 64-bit alone.
if [ "$both" = 1 ]; then
  regsvr32 64 must /u /s "$(dll 64)"
  run_tier alone32by64 64 "$(client 64)" alone32by64 alone32 "$(dll 32)"
  run_tier vbserrors32 32 cscript.exe //nologo "$root/tests/com/errors.vbs" vbserrors32
  regsvr32 64 must /s "$(dll 64)"
  regsvr32 32 must /u /s "$(dll 32)"
  run_tier alone64 64 "$(client 64)" alone64 alone64 "$(dll 64)"
fi
regsvr32 "$checker" must /u /s "$(dll "$checker")"
# Nothing of the class left in either view; the module registers from a
# folder deeper than MAX_PATH, and unregisters.
run_tier "unregistered$checker" "$checker" "$(client "$checker")" "unregistered$checker" gone none \
  longpathreg "$(dll "$checker")" gone

# For the user alone, each width in turn: its keys under the user's classes
# alone, and still there once the other width's are gone.  Wine's COM reads
# classes from the machine's alone, so there the client checks the keys
# and makes no object through them; and Wine's user classes have one view,
# so that the two widths share the class key, which names the module
# registered last.
for bits in "${widths[@]}"; do
  regsvr32 "$bits" must /s /n /i:user "$(dll "$bits")"
  label=user$bits
  [ "$bits" = "$checker" ] || label=user${bits}by$checker
  run_tier "$label" "$checker" "$(client "$checker")" "$label" "user$bits" "$(dll "$bits")"
done
if [ "$both" = 1 ]; then
  regsvr32 64 must /u /s /n /i:user "$(dll 64)"
  run_tier useralone32by64 64 "$(client 64)" useralone32by64 user32 "$(dll 32)"
  regsvr32 32 must /u /s /n /i:user "$(dll 32)"
else
  regsvr32 "$checker" must /u /s /n /i:user "$(dll "$checker")"
fi
run_tier "clean$checker" "$checker" "$(client "$checker")" "clean$checker" gone none

finish
