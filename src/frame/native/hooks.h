// The points at which the native allocation layer and the clock report to,
// and take orders from, whatever is linked in.  The shipped library links
// no_hooks.cpp, which observes nothing; the test variant links the ledger
// behind the tk_test_* functions (tests/support/hooks) instead.
#pragma once

#include <cstddef>
#include <cstdint>

namespace twinekit::native {

// The two kinds of block the layer hands out: scratch buffers
// (CoTaskMemAlloc) and BSTRs (SysAllocStringByteLen, SysAllocStringLen).
enum class Pool { kScratch, kBstr };

// Asked before every allocation; false makes it fail as if memory were short.
bool AdmitAllocation(Pool pool);
// An admitted allocation got its memory (bytes asked for: a BSTR's
// payload, a scratch buffer's size), or did not.
void AllocationMade(Pool pool, size_t bytes);
void AllocationFailed(Pool pool);
// A block of the pool was released.
void AllocationFreed(Pool pool);

// Seconds since 1970 (UTC) the clock reports instead of the real time, or a
// negative value for the real time.
int64_t FixedClock();

}  // namespace twinekit::native
