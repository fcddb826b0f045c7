#include "frame/allocation_failures.h"

#include <atomic>

namespace twinekit {
namespace {

// Zero before any code runs (constant initialisation): no constructor,
// which the Windows modules, with no C runtime start-up, could not run.
std::atomic<uint32_t> failures{0};

}  // namespace

uint32_t AllocationFailures() { return failures.load(std::memory_order_relaxed); }

void NoteAllocationFailure() { failures.fetch_add(1, std::memory_order_relaxed); }

}  // namespace twinekit
