// Watches the COM task allocator around a call: every block allocated
// during the call and not freed by its end.  An export may leave exactly one
// such block, its string result; anything else is a scratch buffer or a
// working string that the export did not release.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tkharness {

struct LiveBlock {
  const void* start;
  size_t size;
  bool Contains(const void* p) const {
    const char* q = static_cast<const char*>(p);
    const char* s = static_cast<const char*>(start);
    return q >= s && q < s + size;
  }
};

class AllocationWatch {
 public:
  // Registers the watch with the allocator and checks that it sees a BSTR
  // made and freed (the system's BSTR cache hides that unless the process
  // was started with OANOCACHE set).  Empty when the watch works; otherwise
  // why it cannot.
  static std::string Install();
  static bool active();

  static void Begin();
  static std::vector<LiveBlock> End();
};

}  // namespace tkharness
