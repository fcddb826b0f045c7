// The bytes of a short span that equal a value, as the bits of one word:
// bit i is set when byte i does.  A span of up to two words is tested a
// word at a time in ordinary registers, with no per-byte branch and no
// call, so that a scan of a short text costs less than setting up a vector
// scan would.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "frame/bytes.h"
#include "frame/word_bits.h"

namespace twinekit {

// The longest span a mask holds.
inline constexpr size_t kMaxMaskedSpan = 16;


// A span of at most kMaxMaskedSpan bytes read once into two words, which
// then give the mask of any byte value.  A span of 8 to 16 bytes is its
// first word and the word that ends it, the bytes they share giving the
// same bits twice; a shorter one is one word, padded with zeros whose bits
// go.
class MaskedSpan {
 public:
  explicit MaskedSpan(Bytes s) {
    const size_t n = s.size();
    if (n < 8) {
      first_ = words::LoadShort(s.data(), n);
      keep_ = (uint64_t{1} << n) - 1;
    } else {
      const words::HeadTail ends = words::LoadHeadTail(s.data(), n);
      first_ = ends.head;
      last_ = ends.tail;
      last_at_ = static_cast<int>(n - 8);
    }
  }

  // The span with its letters A-Z read as a-z.
  MaskedSpan Lowered() const {
    MaskedSpan lowered = *this;
    lowered.first_ = words::LowerLetters(first_);
    lowered.last_ = words::LowerLetters(last_);
    return lowered;
  }

  // The bytes equal to value.
  uint64_t Mask(uint8_t value) const {
    return Gathered(words::EqualHighs(first_, value), words::EqualHighs(last_, value));
  }

  // The bytes equal to any of values.
  uint64_t MaskOfAny(Bytes values) const {
    using words::EqualHighs;
    uint64_t first = 0;
    uint64_t last = 0;
    for (const uint8_t v : values) {
      first |= EqualHighs(first_, v);
      last |= EqualHighs(last_, v);
    }
    return Gathered(first, last);
  }

  // Whether a byte equals value: a test without the gathering multiply
  // (the zero test's marks may be wrong above a true one, but there is
  // one only where there is a true one).
  bool Holds(uint8_t value) const {
    if (last_at_ < 0) return Mask(value) != 0;
    return (words::EqualMarks(first_, value) | words::EqualMarks(last_, value)) != 0;
  }

  bool HoldsZero() const { return Holds(0); }

 private:
  uint64_t Gathered(uint64_t first, uint64_t last) const {
    using words::GatherHighs;
    if (last_at_ < 0) return GatherHighs(first) & keep_;
    return GatherHighs(first) | GatherHighs(last) << last_at_;
  }

  uint64_t first_;
  uint64_t last_ = 0;
  int last_at_ = -1;  // -1 for a span of one word
  uint64_t keep_ = ~uint64_t{0};
};

// The bytes of s (at most kMaxMaskedSpan) equal to value.
inline uint64_t MaskOfValue(Bytes s, uint8_t value) { return MaskedSpan(s).Mask(value); }

}  // namespace twinekit
