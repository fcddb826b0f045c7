#!/bin/bash
# Runs the host harness under Wine of the given width, in a Wine prefix of
# its own, with no display and Wine's own messages off:
#
#   run_under_wine.sh 32|64 HARNESS.exe [DLL]
#
# The 32-bit harness runs under 32-bit Wine, which on a kernel without
# 32-bit support runs through qemu user emulation (scripts/install-wine.sh
# sets that up); all its cases run in this one process, since each start of
# 32-bit Wine costs about a minute.  Fails loudly when Wine cannot run or
# the harness does not reach its closing line.
#
# Environment: TK_WINEPREFIX32, TK_WINEPREFIX64 (default
# $HOME/.cache/twinekit-wine/win32 and win64), TK_WINE_TIMEOUT (seconds,
# default 1500).
set -uo pipefail

die() { echo "run_under_wine: ERROR: $*" >&2; exit 2; }

[ $# -ge 2 ] || die "usage: run_under_wine.sh 32|64 HARNESS.exe [DLL]"
bits=$1
exe=$(readlink -f "$2")
dll=${3:+$(readlink -f "$3")}
[ -f "$exe" ] || die "no harness at $2"

case "$bits" in
  64)
    loader=$(command -v wine64 || true)
    [ -n "$loader" ] || [ ! -x /usr/lib/wine/wine64 ] || loader=/usr/lib/wine/wine64
    prefix=${TK_WINEPREFIX64:-$HOME/.cache/twinekit-wine/win64}
    arch=win64
    ;;
  32)
    loader=/usr/lib/wine/wine
    [ -x "$loader" ] || loader=""
    prefix=${TK_WINEPREFIX32:-$HOME/.cache/twinekit-wine/win32}
    arch=win32
    if [ "$(uname -m)" = x86_64 ] && [ -d /proc/sys/fs/binfmt_misc ] &&
       [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] &&
       ! grep -q '^enabled' /proc/sys/fs/binfmt_misc/qemu-i386; then
      die "the qemu-i386 binfmt entry is disabled; run scripts/install-wine.sh"
    fi
    ;;
  *) die "width must be 32 or 64, not $bits" ;;
esac
[ -n "$loader" ] || die "no $bits-bit Wine loader; run scripts/install-wine.sh as root"

mkdir -p "$(dirname "$prefix")"
export WINEPREFIX=$prefix WINEARCH=$arch WINEDEBUG=-all DISPLAY= WAYLAND_DISPLAY=
# No Mono or Gecko installers when a prefix is made: nothing here needs them.
export WINEDLLOVERRIDES="mscoree=;mshtml="
# No BSTR cache, so that the harness sees every BSTR made and freed.
export OANOCACHE=1

# Makes the prefix, if it is not complete yet, and waits for every process of
# that to end.  Under emulation and load, making a 32-bit prefix can outlast
# the 5 minutes that the starting process waits for it ("boot event wait
# timed out", then "could not load kernel32.dll"), although the boot itself
# goes on and completes; so the wait is on the wineserver, not on the
# process that started it.
prepare_prefix() {
  [ -f "$WINEPREFIX/system.reg" ] && [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ] \
    && return 0
  echo "run_under_wine: making the $bits-bit Wine prefix $WINEPREFIX (slow, once)"
  local start; start=$(date +%s)
  "$loader" wineboot -i >/dev/null 2>&1
  "$server" -w
  [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ] \
    || die "making the Wine prefix $WINEPREFIX failed; remove it and retry"
  echo "run_under_wine: prefix made in $(( $(date +%s) - start )) s"
}
server=$(dirname "$loader")/wineserver
[ -x "$server" ] || server=$(command -v wineserver) || die "no wineserver"
prepare_prefix

log=$(mktemp)
trap 'rm -f "$log"' EXIT
start=$(date +%s)
# Unix paths reach the harness as Z: paths, which Windows calls accept.
timeout --kill-after=30 "${TK_WINE_TIMEOUT:-1500}" \
  "$loader" "$exe" ${dll:+"Z:$dll"} 2>&1 | tee "$log"
rc=${PIPESTATUS[0]}
elapsed=$(( $(date +%s) - start ))

if [ "$rc" = 124 ] || [ "$rc" = 137 ]; then
  die "dll$bits: the harness did not finish within ${TK_WINE_TIMEOUT:-1500} s"
fi
if ! grep -Eq "^dll$bits: [0-9]+ passed, [0-9]+ failed, [0-9]+ skipped" "$log"; then
  die "dll$bits: the harness under $loader did not reach its closing line (exit $rc)"
fi
echo "run_under_wine: dll$bits took ${elapsed} s under $loader (exit $rc)"
exit "$rc"
