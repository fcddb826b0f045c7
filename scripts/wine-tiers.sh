# The common part of the scripts that run tiers under Wine
# (run-dll-tests.sh, run-com-tests.sh), sourced by them with NAME set to
# the script's name for its messages:
#
#   NAME [--no-build] [--tier 32|64]...
#
# It reads those options into $build and $tiers, gives the build
# directories (TK_BUILD32, TK_BUILD64, default build/win32 and build/win64)
# and $jobs (TK_JOBS, default 2), and records failures and the summary.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build32=${TK_BUILD32:-$root/build/win32}
build64=${TK_BUILD64:-$root/build/win64}
jobs=${TK_JOBS:-2}
build=1
tiers=()
while [ $# -gt 0 ]; do
  case "$1" in
    --no-build) build=0 ;;
    --tier) shift; tiers+=("${1:-}") ;;
    *) echo "usage: $NAME [--no-build] [--tier 32|64]..." >&2; exit 2 ;;
  esac
  shift
done
[ ${#tiers[@]} -gt 0 ] || tiers=(64 32)
for bits in "${tiers[@]}"; do
  case "$bits" in
    32|64) ;;
    *) echo "$NAME: unknown tier '$bits'" >&2; exit 2 ;;
  esac
done

failures=()
summary=()
total_start=$(date +%s)
fail() { echo "$NAME: FAILED: $*" >&2; failures+=("$*"); }

build_dir() { if [ "$1" = 32 ]; then echo "$build32"; else echo "$build64"; fi; }
toolchain() { if [ "$1" = 32 ]; then echo mingw-i686; else echo mingw-x86_64; fi; }

# Configures one width's build directory and builds TARGET... (everything
# when none is given); false, after saying why, when that fails:
# build_width BITS LABEL [TARGET...]
build_width() {
  local bits=$1 label=$2 dir
  shift 2
  dir=$(build_dir "$bits")
  cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$(toolchain "$bits").cmake" \
    >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; fail "$label: cmake failed"; return 1; }
  make -C "$dir" -j"$jobs" "$@" >"$dir.$label.build.log" 2>&1 ||
    { tail -40 "$dir.$label.build.log"; fail "$label: build failed (log: $dir.$label.build.log)"; return 1; }
}

# Runs a program under Wine and records its closing line ("LABEL: N passed,
# N failed..."), which it must reach with no failure: run_tier LABEL BITS
# PROGRAM [ARG...]
run_tier() {
  local label=$1 bits=$2 log start rc line
  shift 2
  log=$(mktemp)
  start=$(date +%s)
  "$root/scripts/run-under-wine.sh" "$bits" "$@" 2>&1 | tee "$log"
  rc=${PIPESTATUS[0]}
  line=$(grep -E "^$label: [0-9]+ passed, [0-9]+ failed" "$log" | tail -1)
  rm -f "$log"
  if [ -z "$line" ]; then
    fail "$label: the tier did not run to its end (exit $rc)"
    summary+=("$label: DID NOT RUN ($(( $(date +%s) - start )) s)")
  else
    [ "$rc" = 0 ] && [[ $line =~ \ 0\ failed ]] || fail "$line"
    summary+=("$line ($(( $(date +%s) - start )) s)")
  fi
}

# Prints the summary and exits: non-zero after any failure.
finish() {
  echo
  echo "$NAME: summary ($(( $(date +%s) - total_start )) s in all)"
  for line in "${summary[@]}"; do echo "  $line"; done
  if [ ${#failures[@]} -gt 0 ]; then
    echo "$NAME: FAILED:" >&2
    for f in "${failures[@]}"; do echo "  $f" >&2; done
    exit 1
  fi
  echo "$NAME: all tiers passed"
  exit 0
}
