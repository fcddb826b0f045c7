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
#include "frame/word_find.h"

namespace twinekit {

// The longest span a mask holds.
inline constexpr size_t kMaxMaskedSpan = 16;

namespace byte_mask_detail {

using word_find_detail::EqualHighs;
using word_find_detail::GatherHighs;
using word_find_detail::kOnes;

// Eight bytes from p, the byte at p in the low bits.
inline uint64_t LoadLittle(const uint8_t* p) {
  uint64_t word = word_find_detail::LoadWord(p);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  return word;
}

// The n < 8 bytes from p in the low bytes of a word, the rest zeros: two
// reads of four bytes that may overlap, or three single bytes, so that no
// branch depends on n beyond the choice between them.
inline uint64_t LoadShort(const uint8_t* p, size_t n) {
  if (n >= 4) {
    uint32_t low, high;
    std::memcpy(&low, p, 4);
    std::memcpy(&high, p + n - 4, 4);
    if constexpr (std::endian::native == std::endian::big) {
      low = __builtin_bswap32(low);
      high = __builtin_bswap32(high);
    }
    return uint64_t{low} | uint64_t{high} << (8 * (n - 4));
  }
  if (n == 0) return 0;
  return uint64_t{p[0]} | uint64_t{p[n / 2]} << (8 * (n / 2)) | uint64_t{p[n - 1]} << (8 * (n - 1));
}

}  // namespace byte_mask_detail

// A span of at most kMaxMaskedSpan bytes read once into two words, which
// then give the mask of any byte value.  A span of 8 to 16 bytes is its
// first word and the word that ends it, the bytes they share giving the
// same bits twice; a shorter one is one word, padded with zeros whose bits
// go.
class MaskedSpan {
 public:
  explicit MaskedSpan(Bytes s) {
    using namespace byte_mask_detail;
    const size_t n = s.size();
    if (n < 8) {
      first_ = LoadShort(s.data(), n);
      keep_ = (uint64_t{1} << n) - 1;
    } else {
      first_ = LoadLittle(s.data());
      last_ = LoadLittle(s.data() + n - 8);
      last_at_ = static_cast<int>(n - 8);
    }
  }

  // The span with its letters A-Z read as a-z.
  MaskedSpan Lowered() const {
    MaskedSpan lowered = *this;
    lowered.first_ = word_find_detail::LowerLetters(first_);
    lowered.last_ = word_find_detail::LowerLetters(last_);
    return lowered;
  }

  // The bytes equal to value.
  uint64_t Mask(uint8_t value) const {
    return Gathered(byte_mask_detail::EqualHighs(first_, value),
                    byte_mask_detail::EqualHighs(last_, value));
  }

  // The bytes equal to any of values.
  uint64_t MaskOfAny(Bytes values) const {
    using byte_mask_detail::EqualHighs;
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
    using namespace word_find_detail;
    if (last_at_ < 0) return Mask(value) != 0;
    const uint64_t splat = kOnes * value;
    return (ZeroBytes(first_ ^ splat) | ZeroBytes(last_ ^ splat)) != 0;
  }

  bool HoldsZero() const { return Holds(0); }

 private:
  uint64_t Gathered(uint64_t first, uint64_t last) const {
    using byte_mask_detail::GatherHighs;
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

// The number of set bits, by additions in the word: the baseline
// instruction set has no population count, and the library's routine is a
// call.
inline size_t CountOfBits(uint64_t x) {
  x -= (x >> 1) & 0x5555555555555555u;
  x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
  return static_cast<size_t>((x * 0x0101010101010101u) >> 56);
}

}  // namespace twinekit
