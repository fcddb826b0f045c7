// The task allocator of the native build: plain heap blocks, counted so
// that tests can see every scratch buffer released.
#include <cstdlib>

#include "frame/native/alloc_faults.h"
#include "frame/platform.h"

extern "C" {

void* CoTaskMemAlloc(size_t size) {
  auto& ledger = twinekit::native::ScratchLedger();
  if (!ledger.Admit()) return nullptr;
  void* block = std::malloc(size == 0 ? 1 : size);
  block != nullptr ? ledger.Allocated() : ledger.Failed();
  return block;
}

void CoTaskMemFree(void* block) {
  if (block == nullptr) return;
  twinekit::native::ScratchLedger().Freed();
  std::free(block);
}

}  // extern "C"
