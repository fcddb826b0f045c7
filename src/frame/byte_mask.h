// The members of a short span as the bits of one word: bit i is set when
// byte i is a member.  A span of up to two words is tested a word at a time
// in ordinary registers, with no per-byte branch and no call, so that a scan
// of a short text costs less than setting up a vector scan would.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "frame/byte_class.h"
#include "frame/bytes.h"
#include "frame/word_find.h"

namespace twinekit {

// The longest span a mask holds.
inline constexpr size_t kMaxMaskedSpan = 16;

namespace byte_mask_detail {

using word_find_detail::kOnes;
inline constexpr uint64_t kLows = 0x7F7F7F7F7F7F7F7Fu;

// Eight bytes from p, the byte at p in the low bits.
inline uint64_t LoadLittle(const uint8_t* p) {
  uint64_t word;
  std::memcpy(&word, p, 8);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  return word;
}

// Bit k set when byte k of word equals value: an exact test (no borrow
// crosses a byte), then one multiply gathers the eight high bits.
inline uint64_t EqualBits(uint64_t word, uint8_t value) {
  const uint64_t x = word ^ (kOnes * value);
  const uint64_t zero = ~(((x & kLows) + kLows) | x | kLows);
  return ((zero >> 7) * 0x0102040810204080u) >> 56;
}

// hits(word) gives a bit for each of a word's eight bytes.  A span of 8
// to 16 bytes is its first word and the word that ends it: the bytes they
// share give the same bits twice.
template <typename WordHits>
uint64_t MaskOf(Bytes s, WordHits hits) {
  const size_t n = s.size();
  if (n < 8) {
    uint64_t word = 0;
    for (size_t i = 0; i < n; ++i) word |= uint64_t{s[i]} << (8 * i);
    // The padding bytes are zeros; their bits go.
    return hits(word) & ((uint64_t{1} << n) - 1);
  }
  return hits(LoadLittle(s.data())) | hits(LoadLittle(s.data() + n - 8)) << (n - 8);
}

}  // namespace byte_mask_detail

// The bytes of s (at most kMaxMaskedSpan) equal to value.
inline uint64_t MaskOfValue(Bytes s, uint8_t value) {
  return byte_mask_detail::MaskOf(
      s, [value](uint64_t word) { return byte_mask_detail::EqualBits(word, value); });
}

// The bytes of s (at most kMaxMaskedSpan) that are members of c: a word
// compare for each value of a class of single values, a byte at a time
// through the class's set otherwise.
inline uint64_t MaskOfClass(Bytes s, const ByteClass& c) {
  if (c.by_runs() && c.ranges() == 0) {
    return byte_mask_detail::MaskOf(s, [&c](uint64_t word) {
      uint64_t bits = 0;
      for (size_t k = 0; k < c.singles(); ++k) bits |= byte_mask_detail::EqualBits(word, c.single(k));
      return bits;
    });
  }
  uint64_t mask = 0;
  for (size_t i = 0; i < s.size(); ++i) mask |= uint64_t{c.Contains(s[i])} << i;
  return mask;
}

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
