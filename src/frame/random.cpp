#include "frame/random.h"

#include <atomic>

namespace twinekit {
namespace {

// Unguarded by design: threads that draw at once interleave their draws.
// The atomic only keeps such interleaving free of undefined behaviour.
std::atomic<uint32_t> state{1};

}  // namespace

void SeedGenerator(uint32_t seed) { state.store(seed, std::memory_order_relaxed); }

int DrawFromGenerator() {
  const uint32_t next = state.load(std::memory_order_relaxed) * 214013u + 2531011u;
  state.store(next, std::memory_order_relaxed);
  return static_cast<int>((next >> 16) & 0x7FFF);
}

}  // namespace twinekit
