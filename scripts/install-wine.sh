#!/bin/bash
# Installs what the DLL tests need on a fresh Debian (bookworm) machine, as root:
#   - the mingw-w64 cross compilers and binutils (to build the DLLs and harnesses),
#   - 64-bit Wine (runs the 64-bit harness directly) and its tools: widl makes the
#     COM modules' type library, from the IDL files of libwine-dev,
#   - 32-bit Wine (wine32:i386) and qemu user emulation for i386 programs, registered
#     with binfmt_misc, for kernels that cannot execute 32-bit programs themselves.
# Idempotent: every step first checks whether its work is already done, so a second
# run on a ready machine takes about a second.
#
# wine32:i386 is installed from a source list limited to the main and updates suites
# (in its own lists directory): the security suite's i386 index can lag behind the
# mirror, which makes a plain `apt-get update` fail and blocks the i386 install.
set -euo pipefail

log() { echo "install-wine: $*"; }
die() { echo "install-wine: ERROR: $*" >&2; exit 1; }

[ "$(id -u)" = 0 ] || die "run as root"
export DEBIAN_FRONTEND=noninteractive

APT_DIR=/var/lib/twinekit-apt
MAIN_SOURCES=$APT_DIR/main-only.sources
MAIN_LISTS=$APT_DIR/lists
APT_MAIN_OPTS=(-o "Dir::Etc::SourceList=$MAIN_SOURCES" -o "Dir::Etc::SourceParts=/dev/null"
               -o "Dir::State::Lists=$MAIN_LISTS")

installed() {  # installed PKG... -> true when every package is installed
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || return 1
  done
}

mirror_uri() {  # the Debian mirror of the system's own source list
  local f uri=""
  for f in /etc/apt/sources.list.d/debian.sources /etc/apt/sources.list; do
    [ -f "$f" ] || continue
    if [[ $f == *.sources ]]; then
      uri=$(awk '/^URIs:/ && $2 !~ /security/ {print $2; exit}' "$f")
    else
      uri=$(awk '$1 == "deb" && $0 !~ /security/ {for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) {print $i; exit}}' "$f")
    fi
    [ -n "$uri" ] && break
  done
  echo "${uri:-http://deb.debian.org/debian}"
}

codename() {
  . /etc/os-release
  echo "${VERSION_CODENAME:-bookworm}"
}

apt_main_update_once() {
  [ -n "${MAIN_UPDATED:-}" ] && return 0
  mkdir -p "$MAIN_LISTS/partial"
  local suite; suite=$(codename)
  cat > "$MAIN_SOURCES" <<SRC
Types: deb
URIs: $(mirror_uri)
Suites: $suite $suite-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  log "apt-get update (main and updates suites only)"
  apt-get "${APT_MAIN_OPTS[@]}" update -q >/dev/null || die "apt-get update of the main suite failed"
  MAIN_UPDATED=1
}

apt_main_install() {
  apt_main_update_once
  log "apt-get install $*"
  apt-get "${APT_MAIN_OPTS[@]}" install -y -q --no-install-recommends "$@" \
    || die "apt-get install $* failed"
}

# 1. The i386 architecture for wine32.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  log "adding the i386 architecture"
  dpkg --add-architecture i386
fi

# 2. Packages. The amd64 ones come from the same main-only list, which also keeps
#    this script working when the security index is out of step. Installing
#    wine32:i386 can REMOVE wine64: a library that both need exists in a newer
#    security version for amd64 but only in the main version for i386, and apt
#    resolves the Multi-Arch mismatch by removing the amd64 side. A second pass
#    puts the amd64 packages back at the matching main version.
missing_packages() {
  local p
  for p in wine wine64 libwine:amd64 wine64-tools libwine-dev:amd64 qemu-user-static binutils-mingw-w64-i686 \
           binutils-mingw-w64-x86-64 g++-mingw-w64-i686 g++-mingw-w64-x86-64 \
           cmake make python3 wine32:i386; do
    installed "$p" || echo "$p"
  done
}
for pass in 1 2; do
  mapfile -t need < <(missing_packages)
  [ ${#need[@]} -eq 0 ] && break
  apt_main_install "${need[@]}"
done
mapfile -t need < <(missing_packages)
[ ${#need[@]} -eq 0 ] || die "still missing after install: ${need[*]}"
[ "${pass}" = 1 ] && log "packages already installed"

# 3. binfmt_misc: run i386 ELF programs through qemu. The F flag makes the kernel
#    open the interpreter now, so it keeps working inside other mount namespaces.
BINFMT=/proc/sys/fs/binfmt_misc
if [ ! -e "$BINFMT/register" ]; then
  log "mounting binfmt_misc"
  mount -t binfmt_misc binfmt_misc "$BINFMT" || die "cannot mount binfmt_misc at $BINFMT"
fi
if [ ! -e "$BINFMT/qemu-i386" ]; then
  log "registering qemu-i386-static for i386 ELF programs"
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  echo ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386-static:F" > "$BINFMT/register" \
    || die "binfmt registration of qemu-i386 failed"
fi
grep -q '^enabled' "$BINFMT/qemu-i386" || echo 1 > "$BINFMT/qemu-i386"
grep -q '^flags:.*F' "$BINFMT/qemu-i386" \
  || log "warning: qemu-i386 is registered without the F flag; 32-bit Wine may fail in containers"

# 4. Quick checks that each piece is where the test script expects it.
command -v wine64 >/dev/null || [ -x /usr/lib/wine/wine64 ] || die "wine64 is missing"
[ -x /usr/lib/wine/wine ] || die "32-bit wine (/usr/lib/wine/wine) is missing"
# The 32-bit loader is an i386 program: this runs it through qemu.
/usr/lib/wine/wine --version >/dev/null 2>&1 \
  || die "the 32-bit Wine loader does not run (binfmt/qemu-i386 not working?)"
log "ready"
