#include "fields/default_separator.h"

#include <atomic>

namespace twinekit::fields {
namespace {

// Constant-initialised, so it sits in static data and needs no start-up
// code.  Relaxed order is enough: the byte guards nothing else.
constinit std::atomic<uint8_t> default_separator{kInitialSeparator};

}  // namespace

uint8_t DefaultSeparator() { return default_separator.load(std::memory_order_relaxed); }

void SetDefaultSeparator(uint8_t separator) {
  default_separator.store(separator, std::memory_order_relaxed);
}

}  // namespace twinekit::fields
