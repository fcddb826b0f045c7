#!/bin/bash
# Builds both Windows DLLs and both host harnesses, checks the built images,
# and runs every behaviour case against the real DLLs under Wine: the 64-bit
# harness under 64-bit Wine, the 32-bit harness under 32-bit Wine (all its
# cases in one Wine process).  After each harness tier, the Microsoft-ABI
# client of that width (built by clang and lld-link against the import
# libraries) runs under the same Wine.  Any tier that cannot run is a
# failure, never a silent skip.  Ends with each tier's line and time, and
# exits non-zero on any failure.
#
#   scripts/run-dll-tests.sh [--no-build] [--tier 32|64]...
#
# Environment: TK_BUILD32, TK_BUILD64 (build directories, default build/win32
# and build/win64), TK_JOBS (make jobs, default 2), and those of
# scripts/run-under-wine.sh (Wine prefixes, timeout).  Needs the packages of
# scripts/install-wine.sh.
set -uo pipefail

NAME=run-dll-tests
# shellcheck source=wine-tiers.sh
source "$(dirname "$0")/wine-tiers.sh"

dll_name() { if [ "$1" = 32 ]; then echo TWINEKIT.DLL; else echo TWINEKIT64.DLL; fi; }

# Builds one width and checks its images; returns non-zero when the tier
# cannot run.
prepare() {
  local bits=$1 dir start
  dir=$(build_dir "$bits")
  start=$(date +%s)
  if [ "$build" = 1 ]; then
    build_width "$bits" "dll$bits" || return 1
  fi
  [ -f "$dir/$(dll_name "$bits")" ] && [ -f "$dir/twinekit_harness.exe" ] &&
    [ -f "$dir/msvc_client.exe" ] \
    || { fail "dll$bits: no $(dll_name "$bits"), twinekit_harness.exe or msvc_client.exe in $dir"; return 1; }
  echo "run-dll-tests: dll$bits built in $(( $(date +%s) - start )) s"
  ctest --test-dir "$dir" -R '_image$' --output-on-failure \
    || fail "dll$bits: the checks of the built images failed"
  return 0
}

for bits in "${tiers[@]}"; do
  if prepare "$bits"; then
    dir=$(build_dir "$bits")
    run_tier "dll$bits" "$bits" "$dir/twinekit_harness.exe" "$dir/$(dll_name "$bits")"
    # The 64-bit DLL once more with each form of its kernels forced (a
    # 32-bit start costs a minute of emulation; the forms are the same code
    # in both widths, and the native 32-bit tier runs each of them).
    if [ "$bits" = 64 ]; then
      for form in plain sse2 ssse3 avx2; do
        export TWINEKIT_KERNELS=$form
        run_tier "dll$bits" "$bits" "$dir/twinekit_harness.exe" "$dir/$(dll_name "$bits")" >/dev/null
        summary[-1]="${summary[-1]}, kernels forced: $form"
        unset TWINEKIT_KERNELS
      done
    fi
    run_tier "client$bits" "$bits" "$dir/msvc_client.exe"
  else
    summary+=("dll$bits: DID NOT RUN (build)" "client$bits: DID NOT RUN (build)")
  fi
done

finish
