// The SQL layer reads the library's count of failed allocations, which a
// module holding both (the SQL extensions) reads directly.  These tests
// call the library built apart, libtwinekit_testing.so, whose count its
// test hook gives.
#include "frame/allocation_failures.h"
#include "twinekit_test_hooks.h"

namespace twinekit {

uint32_t AllocationFailures() { return static_cast<uint32_t>(tk_test_allocation_failures()); }

}  // namespace twinekit
