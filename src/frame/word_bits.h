// Eight bytes at a time in an ordinary 64-bit word, for the short texts
// that a vector kernel's set-up would cost more than: the loads and stores
// of words, and the tests of all eight bytes at once.  A word holds its
// bytes lowest first (the byte at p in the low bits), whatever the
// machine's order; a test gives its answer as a "mark", the high bit of a
// byte, in each byte it holds for.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "frame/chars.h"

namespace twinekit::words {

inline constexpr size_t kWordBytes = 8;
inline constexpr uint64_t kOnes = 0x0101010101010101u;
inline constexpr uint64_t kLows = 0x7F7F7F7F7F7F7F7Fu;
inline constexpr uint64_t kHighs = 0x8080808080808080u;

// The eight bytes at p as a word, the byte at p in the low bits.
inline uint64_t LoadWord(const uint8_t* p) {
  uint64_t word;
  std::memcpy(&word, p, kWordBytes);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  return word;
}

// The word's eight bytes at p, its low bits first.
inline void StoreWord(uint8_t* p, uint64_t word) {
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  std::memcpy(p, &word, kWordBytes);
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

// The bytes of the size bytes at p from at < size on, up to eight, as a
// word with zeros past the end: near the end of a span of eight bytes or
// more, its last word with the bytes before at shifted out.
inline uint64_t WordAt(const uint8_t* p, size_t size, size_t at) {
  const size_t left = size - at;
  if (left >= kWordBytes) return LoadWord(p + at);
  if (size >= kWordBytes) return LoadWord(p + size - kWordBytes) >> (8 * (kWordBytes - left));
  return LoadShort(p + at, left);
}

// A span of 8 to 16 bytes as two words that may overlap: its first eight
// bytes and its last eight.  The bytes both hold are alike in each.
struct HeadTail {
  uint64_t head;
  uint64_t tail;
};

inline HeadTail LoadHeadTail(const uint8_t* p, size_t n) {
  return {LoadWord(p), LoadWord(p + n - kWordBytes)};
}

// The n bytes at out from the words, the head stored first.
inline void StoreHeadTail(uint8_t* out, size_t n, HeadTail words) {
  StoreWord(out, words.head);
  StoreWord(out + n - kWordBytes, words.tail);
}

// The high bit of each zero byte of x.  A borrow can also mark a byte
// above a zero byte, never one below, so the lowest mark is exact.
inline constexpr uint64_t ZeroBytes(uint64_t x) { return (x - kOnes) & ~x & kHighs; }

// The high bit of each byte of x that is not zero, exactly: a byte is
// not zero when its own high bit is set or its low seven bits plus 0x7F
// carry into it, and no sum carries out of its byte, so a byte's answer
// never depends on its neighbours.
inline constexpr uint64_t NonZeroHighs(uint64_t x) { return (((x & kLows) + kLows) | x) & kHighs; }

// The high bit of each byte of word other than value, exactly.
inline constexpr uint64_t OtherHighs(uint64_t word, uint8_t value) {
  return NonZeroHighs(word ^ (kOnes * value));
}

// The high bit of each byte of word equal to value, exactly.
inline constexpr uint64_t EqualHighs(uint64_t word, uint8_t value) {
  return OtherHighs(word, value) ^ kHighs;
}

// The high bit of each byte of word equal to value, exact at the lowest
// mark only (ZeroBytes): one step less than EqualHighs, for the tests that
// ask only whether there is a mark, or where the first is.
inline constexpr uint64_t EqualMarks(uint64_t word, uint8_t value) {
  return ZeroBytes(word ^ (kOnes * value));
}

// The high bit of each byte of word from lo to hi (lo <= hi < 0x80),
// exactly: a byte's low seven bits plus 0x80 - lo carry into its high bit
// when they reach lo, plus 0x7F - hi when they pass hi, and neither sum
// carries out of its byte; a byte with its own high bit set is above hi.
inline constexpr uint64_t RangeHighs(uint64_t word, uint8_t lo, uint8_t hi) {
  const uint64_t sevens = word & kLows;
  return (sevens + kOnes * (0x80u - lo)) & ~(sevens + kOnes * (0x7Fu - hi)) & ~word & kHighs;
}

// The high bit of each byte of word that is a punctuation mark (IsPunct).
inline constexpr uint64_t PunctHighs(uint64_t word) {
  uint64_t marks = 0;
  for (const ByteRange range : kPunctRanges) marks |= RangeHighs(word, range.first, range.last);
  return marks;
}

// The word with its bytes A-Z made a-z (ToLower on each byte).
inline constexpr uint64_t LowerLetters(uint64_t word) {
  return word | RangeHighs(word, 'A', 'Z') >> 2;
}

// Bit k set when the high bit of byte k of highs is: one multiply gathers
// them into the top byte.
inline constexpr uint64_t GatherHighs(uint64_t highs) {
  return ((highs >> 7) * 0x0102040810204080u) >> 56;
}

// The byte of the lowest mark of marks (not zero).
inline constexpr size_t FirstMarkedByte(uint64_t marks) {
  return static_cast<size_t>(std::countr_zero(marks)) / 8;
}

// How many bytes of a word are marked: with at most one bit a byte, one
// multiply adds them up in the top byte.
inline constexpr size_t CountOfMarks(uint64_t marks) { return ((marks >> 7) * kOnes) >> 56; }

// The number of set bits, by additions in the word: the baseline
// instruction set has no population count, and the library's routine is a
// call.
inline constexpr size_t CountOfBits(uint64_t x) {
  x -= (x >> 1) & 0x5555555555555555u;
  x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
  return static_cast<size_t>((x * kOnes) >> 56);
}

}  // namespace twinekit::words
