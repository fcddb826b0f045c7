// Searches of short byte strings eight bytes at a time in an ordinary
// 64-bit word: for spans of a few dozen bytes, where setting up a library
// search costs more than the search, and a byte loop takes a branch a byte.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace twinekit {
namespace word_find_detail {

inline constexpr uint64_t kOnes = 0x0101010101010101u;
inline constexpr uint64_t kLows = 0x7F7F7F7F7F7F7F7Fu;
inline constexpr uint64_t kHighs = 0x8080808080808080u;

// Eight bytes from p as one word, in the machine's order.
inline uint64_t LoadWord(const uint8_t* p) {
  uint64_t word;
  std::memcpy(&word, p, 8);
  return word;
}

// The high bit of each zero byte of x.  A borrow can also mark a byte
// above a zero byte, never one below, so the lowest mark is exact.
inline uint64_t ZeroBytes(uint64_t x) { return (x - kOnes) & ~x & kHighs; }

// The high bit of each byte of x that is not zero, exactly: a byte is
// not zero when its own high bit is set or its low seven bits plus 0x7F
// carry into it, and no sum carries out of its byte, so a byte's answer
// never depends on its neighbours.
inline constexpr uint64_t NonZeroHighs(uint64_t x) { return (((x & kLows) + kLows) | x) & kHighs; }

// The high bit of each byte of word equal to value, exactly.
inline constexpr uint64_t EqualHighs(uint64_t word, uint8_t value) {
  return NonZeroHighs(word ^ (kOnes * value)) ^ kHighs;
}

// The high bit of each byte of word from lo to hi (lo <= hi < 0x80),
// exactly: a byte's low seven bits plus 0x80 - lo carry into its high bit
// when they reach lo, plus 0x7F - hi when they pass hi, and neither sum
// carries out of its byte; a byte with its own high bit set is above hi.
inline constexpr uint64_t RangeHighs(uint64_t word, uint8_t lo, uint8_t hi) {
  const uint64_t sevens = word & kLows;
  return (sevens + kOnes * (0x80u - lo)) & ~(sevens + kOnes * (0x7Fu - hi)) & ~word & kHighs;
}

// The word with its bytes A-Z made a-z.
inline constexpr uint64_t LowerLetters(uint64_t word) {
  return word | RangeHighs(word, 'A', 'Z') >> 2;
}

// Bit k set when the high bit of byte k of highs is (little-endian): one
// multiply gathers them into the top byte.
inline uint64_t GatherHighs(uint64_t highs) { return ((highs >> 7) * 0x0102040810204080u) >> 56; }

}  // namespace word_find_detail

// The first place in [from, size) where p holds a or b (the same byte
// twice to look for one), or size when there is none.
inline size_t FindEitherByte(const uint8_t* p, size_t from, size_t size, uint8_t a, uint8_t b) {
  using namespace word_find_detail;
  size_t i = from;
  if constexpr (std::endian::native == std::endian::little) {
    const uint64_t splat_a = kOnes * a;
    const uint64_t splat_b = kOnes * b;
    const auto first_hit = [&](size_t at) {
      const uint64_t word = LoadWord(p + at);
      return ZeroBytes(word ^ splat_a) | ZeroBytes(word ^ splat_b);
    };
    for (; i < size && size - i >= 8; i += 8) {
      if (const uint64_t hits = first_hit(i)) return i + static_cast<size_t>(std::countr_zero(hits)) / 8;
    }
    // The last bytes as the word that ends the span, over bytes already
    // seen to hold neither: its lowest mark, the exact one, is the answer.
    if (i < size && size - from >= 8) {
      const uint64_t hits = first_hit(size - 8);
      return hits != 0 ? size - 8 + static_cast<size_t>(std::countr_zero(hits)) / 8 : size;
    }
  }
  while (i < size && p[i] != a && p[i] != b) ++i;
  return i < size ? i : size;
}

// Spans up to this many bytes are searched a word at a time, longer ones
// by the C library's search (a limit of 32 measured slower in a caller
// whose span had 17 bytes).
inline constexpr size_t kShortByteSearch = 16;

// The first place in [from, size) where p holds value, or size when none.
// The choice goes by the whole span's size, so that a long span's later
// searches stay with the library's.
inline size_t FindByte(const uint8_t* p, size_t from, size_t size, uint8_t value) {
  if (from >= size) return size;
  if (size <= kShortByteSearch) return FindEitherByte(p, from, size, value, value);
  const void* hit = std::memchr(p + from, value, size - from);
  return hit == nullptr ? size : static_cast<size_t>(static_cast<const uint8_t*>(hit) - p);
}

}  // namespace twinekit
