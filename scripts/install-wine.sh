#!/bin/bash
# Installs what the DLL tests need on a fresh Debian (bookworm) machine, as root:
#   - the mingw-w64 cross compilers and binutils (to build the DLLs and harnesses),
#   - 64-bit Wine (runs the 64-bit harness directly) and its tools: widl makes the
#     COM modules' type library, from the IDL files of libwine-dev,
#   - 32-bit Wine (wine32:i386) and qemu user emulation for i386 programs, registered
#     with binfmt_misc, for kernels that cannot execute 32-bit programs themselves,
#   - the locale ja_JP.UTF-8, for a run of Wine with a double-byte code page.
# Idempotent: every step first checks whether its work is already done, so a second
# run on a ready machine takes about a second.
#
# wine32:i386 is a multi-arch package: each shared library it needs for i386
# must stand at exactly the version of its amd64 twin already installed.  So
# it is installed from the system's own sources, security suite included,
# where the twins of the installed amd64 libraries are.  Every install is
# simulated first and refused if apt would remove a package (it resolves a
# version mismatch by removing the amd64 side, wine64 with it).  When the
# system's sources cannot give matching versions (a mirror whose i386 index
# of a suite cannot be fetched), the main and updates suites alone are tried;
# when neither can, the script names the libraries that stand in the way and
# what to do, instead of leaving apt's list of unmet dependencies.
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

write_main_sources() {
  mkdir -p "$MAIN_LISTS/partial"
  local suite; suite=$(codename)
  cat > "$MAIN_SOURCES" <<SRC
Types: deb
URIs: $(mirror_uri)
Suites: $suite $suite-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
}

# The two ways to reach the packages: the system's own sources, or the main
# and updates suites alone.  Each prints nothing; apt's own output goes to
# the log the caller names.
apt_update() {  # apt_update system|main LOG
  local opts=()
  if [ "$1" = main ]; then write_main_sources; opts=("${APT_MAIN_OPTS[@]}"); fi
  # An index that cannot be fetched (a third-party source, a mirror being
  # synced) does not stop us here: the simulated install below tells whether
  # what was fetched is enough.
  apt-get "${opts[@]}" update -q >"$2" 2>&1 || true
}

apt_install() {  # apt_install system|main simulate|real LOG PKG...
  local opts=() mode=$2 log=$3
  [ "$1" = main ] && opts=("${APT_MAIN_OPTS[@]}")
  shift 3
  if [ "$mode" = simulate ]; then
    apt-get "${opts[@]}" install -s -q --no-install-recommends "$@" >"$log" 2>&1 &&
      ! grep -q '^Remv ' "$log"
  else
    apt-get "${opts[@]}" install -y -q --no-install-recommends "$@" >"$log" 2>&1
  fi
}

# Why neither source could give matching versions: each i386 library apt
# could not install, with the version of its amd64 twin and the i386
# versions that each source offers.
i386_versions() {  # i386_versions LIB [APT OPTIONS...]
  local lib=$1 v
  shift
  v=$(apt-cache "$@" madison "$lib:i386" 2>/dev/null | awk -F'|' '{gsub(/ /, "", $2); print $2}' | sort -u | paste -sd, -)
  echo "${v:-none}"
}

explain_mismatch() {  # explain_mismatch LOG
  local lib amd64 i386
  echo "install-wine: wine32:i386 needs i386 libraries at the versions of their amd64 twins:" >&2
  for lib in $(grep -oE '(Depends|PreDepends): [a-z0-9.+-]+:i386' "$1" | sed 's/.*: //; s/:i386$//' | sort -u); do
    amd64=$(dpkg-query -W -f='${Version}' "$lib:amd64" 2>/dev/null || echo "not installed")
    echo "  $lib: amd64 $amd64; i386 in the system's sources: $(i386_versions "$lib"), in main and updates: $(i386_versions "$lib" "${APT_MAIN_OPTS[@]}")" >&2
  done
  grep -E '^Remv ' "$1" | sed 's/^/  apt would remove: /' >&2 || true
  cat >&2 <<MSG
install-wine: the system's sources did not give i386 twins at those versions.
  Most often the i386 index of the security suite could not be fetched.  Run
  'apt-get update' and read its errors; when it fetches every index, run this
  script again.  If your mirror has no i386 packages of a suite, point
  /etc/apt/sources.list.d/debian.sources (or /etc/apt/sources.list) at one
  that does.  apt's own words are in $1.
MSG
  exit 1
}

# Installs PKG... with versions that match, from the system's sources first.
install_matching() {
  local source log="$APT_DIR/install.log"
  mkdir -p "$APT_DIR"
  for source in system main; do
    log "apt-get update ($source sources)"
    apt_update "$source" "$APT_DIR/update-$source.log"
    if apt_install "$source" simulate "$log" "$@"; then
      log "apt-get install $* ($source sources)"
      apt_install "$source" real "$log" "$@" || { cat "$log" >&2; die "apt-get install $* failed"; }
      return 0
    fi
    log "the $source sources cannot install $* without a version mismatch"
  done
  explain_mismatch "$log"
}

# 1. The i386 architecture for wine32.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  log "adding the i386 architecture"
  dpkg --add-architecture i386
fi

# 2. Packages.
missing_packages() {
  local p
  for p in wine wine64 libwine:amd64 wine64-tools libwine-dev:amd64 qemu-user-static binutils-mingw-w64-i686 \
           binutils-mingw-w64-x86-64 g++-mingw-w64-i686 g++-mingw-w64-x86-64 \
           cmake make python3 locales wine32:i386; do
    installed "$p" || echo "$p"
  done
}
mapfile -t need < <(missing_packages)
if [ ${#need[@]} -eq 0 ]; then
  log "packages already installed"
else
  install_matching "${need[@]}"
  mapfile -t need < <(missing_packages)
  [ ${#need[@]} -eq 0 ] || die "still missing after install: ${need[*]}"
fi

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

# 4. The locale ja_JP.UTF-8, under which Wine's ANSI code page is 932
#    (double-byte): run-com-tests.sh runs the case lines under it.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf-\?8'; then
  log "generating the locale ja_JP.UTF-8"
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 || die "cannot generate the locale ja_JP.UTF-8"
fi

# 5. Quick checks that each piece is where the test script expects it.
command -v wine64 >/dev/null || [ -x /usr/lib/wine/wine64 ] || die "wine64 is missing"
[ -x /usr/lib/wine/wine ] || die "32-bit wine (/usr/lib/wine/wine) is missing"
# The 32-bit loader is an i386 program: this runs it through qemu.
/usr/lib/wine/wine --version >/dev/null 2>&1 \
  || die "the 32-bit Wine loader does not run (binfmt/qemu-i386 not working?)"
log "ready"
