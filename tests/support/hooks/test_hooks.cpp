// The hooks of the test variant (libtwinekit_testing.so): a ledger per pool
// that counts the native layer's allocations and fails the one a test
// chooses, a clock a test can fix, and the tk_test_* functions that expose
// them.
#include "twinekit_test_hooks.h"

#include <atomic>

#include "allocation_ledger.h"
#include "frame/allocation_failures.h"
#include "frame/native/hooks.h"

namespace {

using twinekit::native::Pool;
using twinekit::testing::AllocationLedger;

AllocationLedger& Ledger(Pool pool) {
  static AllocationLedger scratch;
  static AllocationLedger bstrs;
  return pool == Pool::kScratch ? scratch : bstrs;
}

std::atomic<int64_t> fixed_clock{-1};

}  // namespace

namespace twinekit::native {

bool AdmitAllocation(Pool pool) { return Ledger(pool).Admit(); }
void AllocationMade(Pool pool, size_t) { Ledger(pool).Allocated(); }
void AllocationFailed(Pool pool) { Ledger(pool).Failed(); }
void AllocationFreed(Pool pool) { Ledger(pool).Freed(); }
int64_t FixedClock() { return fixed_clock.load(std::memory_order_relaxed); }

}  // namespace twinekit::native

extern "C" {

int64_t tk_test_live_scratch(void) { return Ledger(Pool::kScratch).live(); }
int64_t tk_test_live_bstrs(void) { return Ledger(Pool::kBstr).live(); }
int64_t tk_test_scratch_allocations(void) { return Ledger(Pool::kScratch).attempts(); }
int64_t tk_test_bstr_allocations(void) { return Ledger(Pool::kBstr).attempts(); }
int64_t tk_test_bstr_failures(void) { return Ledger(Pool::kBstr).failures(); }
int64_t tk_test_allocation_failures(void) { return twinekit::AllocationFailures(); }

void tk_test_fail_scratch(int64_t k, int persistent) {
  Ledger(Pool::kScratch).FailFromNow(k, persistent != 0);
}

void tk_test_fail_bstr(int64_t k, int persistent) {
  Ledger(Pool::kBstr).FailFromNow(k, persistent != 0);
}

void tk_test_set_clock(int64_t seconds) {
  fixed_clock.store(seconds < 0 ? -1 : seconds, std::memory_order_relaxed);
}

}  // extern "C"
