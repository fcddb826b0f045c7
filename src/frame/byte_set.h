// A set of byte values, one bit for each of the 256, so that membership is
// one look-up whatever the size of the list it was made from, and an empty
// set costs four words to make.
#pragma once

#include <array>
#include <bit>
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

  // The first value at or after from (0 to 256) that is a member, or that
  // is not; 256 when there is none.
  int FirstMemberFrom(int from) const { return FirstFrom(from, 0); }
  int FirstNonMemberFrom(int from) const { return FirstFrom(from, ~uint64_t{0}); }

 private:
  static uint64_t Bit(uint8_t b) { return uint64_t{1} << (b & 63); }

  // The first set bit at or after from of the words xor flip.
  int FirstFrom(int from, uint64_t flip) const {
    for (int w = from >> 6; w < 4; ++w) {
      uint64_t bits = words_[static_cast<size_t>(w)] ^ flip;
      if (w == from >> 6) bits &= ~uint64_t{0} << (from & 63);
      if (bits != 0) return 64 * w + std::countr_zero(bits);
    }
    return 256;
  }

  std::array<uint64_t, 4> words_{};
};

}  // namespace twinekit
