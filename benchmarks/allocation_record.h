// The benchmarks' hooks of the native allocation layer: they admit every
// allocation, as the shipped library's do, and, between Begin and End,
// note the size of each, so that a benchmark learns what one call of an
// export allocates by making that call once.
#pragma once

#include <cstddef>
#include <vector>

#include "frame/native/hooks.h"

namespace tkbench {

struct Allocation {
  twinekit::native::Pool pool;
  size_t bytes;
};

void BeginAllocationRecord();
std::vector<Allocation> EndAllocationRecord();

}  // namespace tkbench
