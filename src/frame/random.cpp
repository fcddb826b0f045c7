#include "frame/random.h"

#include <atomic>

namespace twinekit {
namespace {

// The atomic keeps stores on two threads at once free of undefined
// behaviour; nothing else is ordered by it.
std::atomic<uint32_t> library_state{1};

}  // namespace

void SetLibraryGenerator(Generator generator) {
  library_state.store(generator.state(), std::memory_order_relaxed);
}

}  // namespace twinekit
