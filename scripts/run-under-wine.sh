#!/bin/bash
# Runs the host harness (or the Microsoft-ABI client) under Wine of the
# given width, with no display and Wine's own messages off:
#
#   run-under-wine.sh 32|64 HARNESS.exe [--family NAME] [--export NAME] [DLL]
#   run-under-wine.sh 32|64 msvc_client.exe
#   run-under-wine.sh 32|64 cscript.exe //nologo SCRIPT LABEL
#   run-under-wine.sh --plain 32|64 regsvr32.exe /s DLL
#
# A program named without a folder (cscript.exe, regsvr32.exe) is Wine's own
# of that width, from the prefix's system32 or syswow64.  An argument that
# names a file becomes its Z: path; others pass as they are.  With --plain
# the program's exit status is the result and no closing line is looked for.
#
# Both widths share one 64-bit Wine prefix with its 32-bit side (WoW64).
# The 32-bit harness runs under 32-bit Wine (/usr/lib/wine/wine, from
# wine32:i386), which on a kernel without 32-bit support runs through qemu
# user emulation (scripts/install-wine.sh sets that up).  In this prefix only
# the harness itself is emulated; Wine's service processes are 64-bit and
# native.  (A 32-bit-only prefix emulates every service too: making it took
# 40 minutes here and each start re-ran parts of it.)  Each start of 32-bit
# Wine still costs about a minute, so all 32-bit cases run in one process.
#
# Fails loudly when Wine cannot run or the program does not reach its
# closing line ("dll32: N passed, N failed, ...", "client32: ...", or, of a
# check of the other width's state, "alone32by64: ...").
# Environment: TK_WINEPREFIX (default $HOME/.cache/twinekit-wine/win64),
# TK_WINE_TIMEOUT (seconds, default 1500).
set -uo pipefail

die() { echo "run-under-wine: ERROR: $*" >&2; exit 2; }

plain=0
if [ "${1:-}" = --plain ]; then
  plain=1
  shift
fi
[ $# -ge 2 ] || die "usage: run-under-wine.sh [--plain] 32|64 PROGRAM.exe [ARG...]"
bits=$1
program_arg=$2
name=$(basename "$program_arg")
shift 2
# The program's own options pass through; a file's path becomes a Z: path,
# which Windows calls accept.
args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --family|--export) [ $# -ge 2 ] || die "$1 needs a name"; args+=("$1" "$2"); shift ;;
    *) if [ -f "$1" ]; then args+=("Z:$(readlink -f "$1")"); else args+=("$1"); fi ;;
  esac
  shift
done

wine64=/usr/lib/wine/wine64
wine32=/usr/lib/wine/wine
server=/usr/lib/wine/wineserver
[ -x "$wine64" ] || wine64=$(command -v wine64) || die "no 64-bit Wine; run scripts/install-wine.sh as root"
[ -x "$server" ] || server=$(command -v wineserver) || die "no wineserver"
case "$bits" in
  64) ;;
  32)
    [ -x "$wine32" ] || die "no 32-bit Wine ($wine32, package wine32:i386); run scripts/install-wine.sh as root"
    if [ "$(uname -m)" = x86_64 ] && [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] &&
       ! grep -q '^enabled' /proc/sys/fs/binfmt_misc/qemu-i386; then
      die "the qemu-i386 binfmt entry is disabled; run scripts/install-wine.sh as root"
    fi
    ;;
  *) die "width must be 32 or 64, not $bits" ;;
esac

export WINEPREFIX=${TK_WINEPREFIX:-$HOME/.cache/twinekit-wine/win64}
export WINEARCH=win64 WINEDEBUG=-all DISPLAY= WAYLAND_DISPLAY=
# No Mono or Gecko installers when the prefix is made: nothing here needs them.
export WINEDLLOVERRIDES="mscoree=;mshtml="
# No BSTR cache, so that the harness sees every BSTR made and freed.
export OANOCACHE=1

# Makes the prefix, if it is not complete yet, and waits for every process of
# that to end.  Under emulation and load, setting up the 32-bit side can
# outlast the 5 minutes that the starting process waits for it ("boot event
# wait timed out", then "could not load kernel32.dll") although the boot goes
# on and completes; so the wait is on the wineserver, not on that process.
prefix_complete() {
  [ -f "$WINEPREFIX/system.reg" ] &&
    [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ] &&
    { [ ! -x "$wine32" ] || [ -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; }
}
# Tiers that run side by side share the prefix: one makes it while the
# others wait on its lock.
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
if ! prefix_complete; then
  echo "run-under-wine: making the Wine prefix $WINEPREFIX (once; slow: its 32-bit side is emulated)"
  start=$(date +%s)
  "$wine64" wineboot -i >/dev/null 2>&1
  "$server" -w
  prefix_complete || die "making the Wine prefix $WINEPREFIX failed; remove it and retry"
  echo "run-under-wine: prefix made in $(( $(date +%s) - start )) s"
fi
flock -u 9
exec 9>&-

# Wine's own programs of the width, or a program of ours.
if [ "$program_arg" = "$name" ] && [ ! -f "$program_arg" ]; then
  if [ "$bits" = 32 ]; then exe=$WINEPREFIX/drive_c/windows/syswow64/$name; else exe=$WINEPREFIX/drive_c/windows/system32/$name; fi
else
  exe=$(readlink -f "$program_arg")
fi
[ -f "$exe" ] || die "no program at $program_arg"

log=$(mktemp)
trap 'rm -f "$log"' EXIT
start=$(date +%s)
# The 64-bit launcher starts a 32-bit program under the 32-bit loader.  The
# output goes to a file, shown as it grows, not through a pipe: Wine's
# service processes, when this run starts them, keep its output open for as
# long as the wineserver lives, which another run of the same prefix extends.
timeout --kill-after=30 "${TK_WINE_TIMEOUT:-1500}" "$wine64" "$exe" "${args[@]}" >"$log" 2>&1 &
program=$!
tail -n +1 -f --pid="$program" "$log" &
wait "$program"
rc=$?
wait
elapsed=$(( $(date +%s) - start ))

if [ "$rc" = 124 ] || [ "$rc" = 137 ]; then
  die "$name ($bits-bit): did not finish within ${TK_WINE_TIMEOUT:-1500} s"
fi
if [ "$plain" = 1 ]; then
  echo "run-under-wine: $name ($bits-bit) took ${elapsed} s (exit $rc)"
  exit "$rc"
fi
if ! grep -Eq "^[a-z][a-z0-9]*$bits: [0-9]+ passed, [0-9]+ failed" "$log"; then
  die "$name ($bits-bit): did not reach its closing line under Wine (exit $rc)"
fi
echo "run-under-wine: $name ($bits-bit) took ${elapsed} s (exit $rc)"
exit "$rc"
