// A set of byte values, one flag for each of the 256, so that membership is
// one look-up whatever the size of the list it was made from.
#pragma once

#include <array>
#include <cstdint>

#include "frame/bytes.h"

namespace twinekit {

class ByteSet {
 public:
  ByteSet() = default;
  explicit ByteSet(Bytes members) {
    for (const uint8_t b : members) Add(b);
  }

  void Add(uint8_t b) { member_[b] = true; }
  void Remove(uint8_t b) { member_[b] = false; }
  bool Contains(uint8_t b) const { return member_[b]; }

 private:
  std::array<bool, 256> member_{};
};

}  // namespace twinekit
