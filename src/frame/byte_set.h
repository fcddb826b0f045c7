// A set of byte values, one bit for each of the 256, so that membership is
// one look-up whatever the size of the list it was made from, and an empty
// set costs four words to make.
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

  void Add(uint8_t b) { words_[b >> 6] |= Bit(b); }
  void Remove(uint8_t b) { words_[b >> 6] &= ~Bit(b); }
  bool Contains(uint8_t b) const { return (words_[b >> 6] & Bit(b)) != 0; }

 private:
  static uint64_t Bit(uint8_t b) { return uint64_t{1} << (b & 63); }

  std::array<uint64_t, 4> words_{};
};

}  // namespace twinekit
