// Searches of short byte strings eight bytes at a time in an ordinary
// 64-bit word: for spans of a few dozen bytes, where setting up a library
// search costs more than the search, and a byte loop takes a branch a byte.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "frame/word_bits.h"

namespace twinekit {

// The first place in [from, size) where p holds a or b (the same byte
// twice to look for one), or size when there is none.
inline size_t FindEitherByte(const uint8_t* p, size_t from, size_t size, uint8_t a, uint8_t b) {
  using namespace words;
  size_t i = from;
  if constexpr (std::endian::native == std::endian::little) {
    const auto first_hit = [&](size_t at) {
      const uint64_t word = LoadWord(p + at);
      return EqualMarks(word, a) | EqualMarks(word, b);
    };
    for (; i < size && size - i >= 8; i += 8) {
      if (const uint64_t hits = first_hit(i)) return i + FirstMarkedByte(hits);
    }
    // The last bytes as the word that ends the span, over bytes already
    // seen to hold neither: its lowest mark, the exact one, is the answer.
    if (i < size && size - from >= 8) {
      const uint64_t hits = first_hit(size - 8);
      return hits != 0 ? size - 8 + FirstMarkedByte(hits) : size;
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
