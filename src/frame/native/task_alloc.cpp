// The task allocator of the native build: plain heap blocks, reported to the
// hooks so that the test variant can see every scratch buffer released.
#include <cstdlib>

#include "frame/native/hooks.h"
#include "frame/platform.h"

using twinekit::native::Pool;

extern "C" {

void* CoTaskMemAlloc(size_t size) {
  if (!twinekit::native::AdmitAllocation(Pool::kScratch)) return nullptr;
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block != nullptr) {
    twinekit::native::AllocationMade(Pool::kScratch, size);
  } else {
    twinekit::native::AllocationFailed(Pool::kScratch);
  }
  return block;
}

void CoTaskMemFree(void* block) {
  if (block == nullptr) return;
  twinekit::native::AllocationFreed(Pool::kScratch);
  std::free(block);
}

}  // extern "C"
