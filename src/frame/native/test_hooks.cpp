// The native-only test hooks declared in twinekit_test_hooks.h.
#include "twinekit_test_hooks.h"

#include "frame/clock.h"
#include "frame/native/alloc_faults.h"

namespace twinekit::native {

AllocationLedger& ScratchLedger() {
  static AllocationLedger ledger;
  return ledger;
}

AllocationLedger& BstrLedger() {
  static AllocationLedger ledger;
  return ledger;
}

}  // namespace twinekit::native

using twinekit::native::BstrLedger;
using twinekit::native::ScratchLedger;

extern "C" {

int64_t tk_test_live_scratch(void) { return ScratchLedger().live(); }
int64_t tk_test_live_bstrs(void) { return BstrLedger().live(); }
int64_t tk_test_scratch_allocations(void) { return ScratchLedger().attempts(); }
int64_t tk_test_bstr_allocations(void) { return BstrLedger().attempts(); }
int64_t tk_test_bstr_failures(void) { return BstrLedger().failures(); }

void tk_test_fail_scratch(int64_t k, int persistent) {
  ScratchLedger().FailFromNow(k, persistent != 0);
}

void tk_test_fail_bstr(int64_t k, int persistent) {
  BstrLedger().FailFromNow(k, persistent != 0);
}

void tk_test_set_clock(int64_t seconds) { twinekit::FixClockForTests(seconds); }

}  // extern "C"
