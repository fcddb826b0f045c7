#include "allocation_record.h"

#include <utility>

namespace tkbench {
namespace {

bool g_recording = false;
std::vector<Allocation> g_record;

}  // namespace

void BeginAllocationRecord() {
  g_record.clear();
  g_recording = true;
}

std::vector<Allocation> EndAllocationRecord() {
  g_recording = false;
  return std::exchange(g_record, {});
}

}  // namespace tkbench

namespace twinekit::native {

bool AdmitAllocation(Pool) { return true; }
void AllocationMade(Pool pool, size_t bytes) {
  if (tkbench::g_recording) tkbench::g_record.push_back({pool, bytes});
}
void AllocationFailed(Pool) {}
void AllocationFreed(Pool) {}
int64_t FixedClock() { return -1; }

}  // namespace twinekit::native
