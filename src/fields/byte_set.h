// A set of byte values with a constant-time membership test.
#pragma once

#include <array>
#include <cstdint>

#include "frame/bytes.h"

namespace twinekit::fields {

class ByteSet {
 public:
  // Every byte of members, the zero byte included, is in the set.
  explicit ByteSet(Bytes members) {
    for (uint8_t b : members) contains_[b] = true;
  }

  bool Contains(uint8_t b) const { return contains_[b]; }

 private:
  std::array<bool, 256> contains_{};
};

}  // namespace twinekit::fields
