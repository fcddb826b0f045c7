#!/usr/bin/env bash
# The README's first command on a fresh system: makes a minimal Debian of
# this machine's release with debootstrap in build/fresh-debian, gives it
# the system's Debian sources (security suite included), clones this
# checkout's HEAD into it and runs `bash scripts/setup.sh` there as root.
# Then, inside it, the native tests and one case file against each DLL
# under Wine.  Fails when any step fails.
#
# Everything is mounted in a mount namespace of its own, so the mounts go
# with the namespace whatever happens; the trap unmounts them too.
#
#   tests/fresh/check_fresh_debian.sh [--keep]   (as root)
#
# --keep leaves the system in place for a look afterwards; by default the
# next run starts from nothing anyway.  Environment: TK_FRESH_DIR (default
# build/fresh-debian), TK_FRESH_FAMILY (the case file, default fields).
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
dir=${TK_FRESH_DIR:-$root/build/fresh-debian}
family=${TK_FRESH_FAMILY:-fields}
log() { echo "fresh-debian: $*"; }
die() { echo "fresh-debian: ERROR: $*" >&2; exit 1; }

[ "$(id -u)" = 0 ] || die "run as root"
command -v debootstrap >/dev/null || die "debootstrap is missing (scripts/install-deps.sh --tests installs it)"

# Re-run inside a private mount namespace: nothing mounted below can leak
# onto the machine, even when this script is killed.
if [ "${TK_FRESH_INSIDE:-}" != 1 ]; then
  TK_FRESH_INSIDE=1 exec unshare --mount --propagation private -- bash "$0" "$@"
fi

keep=0
[ "${1:-}" = --keep ] && keep=1
sys=$(realpath -m "$dir")/rootfs  # as /proc/PID/root shows it

mounts=()
unmount_all() {
  local i
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    umount -l "${mounts[i]}" 2>/dev/null || true
  done
  mounts=()
}
mount_in() {  # mount_in TARGET MOUNT-ARGS...
  local target=$1
  shift
  mkdir -p "$target"
  mount "$@" "$target"
  mounts+=("$target")
}
# Wine leaves its server and services running for a while after a program
# ends; whatever still runs inside the new system is stopped first.
stop_processes_inside() {
  local p
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$sys" ] && kill -9 "${p#/proc/}" 2>/dev/null
  done
  return 0
}
cleanup() {
  stop_processes_inside
  unmount_all
  if [ "$keep" = 0 ] && [ -d "$sys" ]; then
    rm -rf --one-file-system "$sys"
  fi
}
trap cleanup EXIT

. /etc/os-release
suite=${VERSION_CODENAME:?no VERSION_CODENAME in /etc/os-release}

# The system's own Debian sources: the deb822 file every installed Debian 12
# has, or the one-line list of an older installation.
sources=()
for f in /etc/apt/sources.list.d/debian.sources /etc/apt/sources.list; do
  [ -s "$f" ] && sources+=("$f")
done
[ ${#sources[@]} -gt 0 ] || die "no Debian sources in /etc/apt to give the new system"
mirror=$(awk '/^URIs:/ && $2 !~ /security/ {print $2; exit}
              $1 == "deb" && $0 !~ /security/ {for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) {print $i; exit}}' \
         "${sources[@]}")
mirror=${mirror:-http://deb.debian.org/debian}

# A system left by an interrupted run is made again from nothing.
if [ -e "$sys" ]; then
  findmnt -rn -o TARGET | grep "^$sys/" >/dev/null && die "something is still mounted under $sys"
  rm -rf --one-file-system "$sys"
fi
mkdir -p "$dir"

start=$SECONDS
log "debootstrap --variant=minbase $suite from $mirror"
debootstrap --variant=minbase "$suite" "$sys" "$mirror" >"$dir/debootstrap.log" 2>&1 ||
  { tail -20 "$dir/debootstrap.log"; die "debootstrap failed (log: $dir/debootstrap.log)"; }
log "made in $((SECONDS - start)) s"

# debootstrap leaves a sources.list of its suite alone; the system's own
# sources replace it.
rm -f "$sys/etc/apt/sources.list"
for f in "${sources[@]}"; do
  cp "$f" "$sys$f"
done
cp /etc/resolv.conf "$sys/etc/resolv.conf"

mount_in "$sys/proc" -t proc proc
mount_in "$sys/sys" -t sysfs sys
mount_in "$sys/dev" --bind /dev
mount_in "$sys/dev/pts" --bind /dev/pts
mount_in "$sys/dev/shm" -t tmpfs tmpfs
mount_in "$sys/tmp" -t tmpfs tmpfs

log "cloning $(git -C "$root" rev-parse --short HEAD) into /root/twinekit"
git clone -q --no-hardlinks "$root" "$sys/root/twinekit"

inside() {  # inside COMMAND: runs a shell command in the checkout, as root with a clean environment
  chroot "$sys" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    bash -c "cd /root/twinekit && $1"
}

step() {  # step NAME COMMAND
  local name=$1 t=$SECONDS
  log "$name"
  inside "$2" >"$dir/$name.log" 2>&1 ||
    { tail -40 "$dir/$name.log"; die "$name failed after $((SECONDS - t)) s (log: $dir/$name.log)"; }
  log "$name: done in $((SECONDS - t)) s"
}

step setup "bash scripts/setup.sh"
step native-tests "ctest --test-dir build/native --output-on-failure -j $(nproc)"
step dll64 "scripts/run-under-wine.sh 64 build/win64/twinekit_harness.exe --family $family"
step dll32 "scripts/run-under-wine.sh 32 build/win32/twinekit_harness.exe --family $family"

grep -hE '^(dll(32|64)): [0-9]+ passed' "$dir/dll64.log" "$dir/dll32.log"
tail -3 "$dir/native-tests.log"
log "passed in $((SECONDS - start)) s"
