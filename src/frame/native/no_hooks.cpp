// The hooks of the shipped library: every allocation is admitted, nothing
// is counted, and the clock is the real one.
#include "frame/native/hooks.h"

namespace twinekit::native {

bool AdmitAllocation(Pool) { return true; }
void AllocationMade(Pool, size_t) {}
void AllocationFailed(Pool) {}
void AllocationFreed(Pool) {}
int64_t FixedClock() { return -1; }

}  // namespace twinekit::native
