// Eight bytes of a short text tested at once in an ordinary 64-bit word
// (little-endian: the first byte is the lowest), for the name passes over
// texts of a few dozen bytes.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "frame/byte_map.h"
#include "frame/chars.h"
#include "frame/word_find.h"

namespace twinekit::names {

inline constexpr size_t kWordBytes = 8;
using word_find_detail::EqualHighs;
using word_find_detail::GatherHighs;
using word_find_detail::LoadWord;
using word_find_detail::LowerLetters;
using word_find_detail::RangeHighs;

// The most places one 64-bit set of places holds.
inline constexpr size_t kMaxPlaces = 64;

// Bit i set where p[i] == value, for i < length <= kMaxPlaces.
inline uint64_t PlacesOf(const uint8_t* p, size_t length, uint8_t value) {
  uint64_t bits = 0;
  size_t i = 0;
  if constexpr (std::endian::native == std::endian::little) {
    for (; i + kWordBytes <= length; i += kWordBytes) {
      bits |= GatherHighs(EqualHighs(LoadWord(p + i), value)) << i;
    }
    // The last bytes as the last word, over some already seen.
    if (i < length && length >= kWordBytes) {
      const size_t last = length - kWordBytes;
      return bits | GatherHighs(EqualHighs(LoadWord(p + last), value)) << last;
    }
  }
  for (; i < length; ++i) bits |= uint64_t{p[i] == value} << i;
  return bits;
}

// The eight bytes of s from at, those past its end as zeros, for at < size
// and a span of at least eight bytes: near the end, the last eight bytes
// shifted down.
inline uint64_t BytesAt(Bytes s, size_t at) {
  if (at + kWordBytes <= s.size()) return LoadWord(s.data() + at);
  return LoadWord(s.data() + s.size() - kWordBytes) >> (8 * (at + kWordBytes - s.size()));
}

// Texts shorter than this are lowered eight bytes at a time in a word,
// longer ones a block of 16 at a time.
inline constexpr size_t kShortLowering = kMaxPlaces;

// The n bytes of from, capitals lowered, into to (apart from from).
inline void CopyLowered(const uint8_t* from, size_t n, uint8_t* to) {
  if (std::endian::native != std::endian::little || n < kWordBytes || n >= kShortLowering) {
    return MapEachByte(Bytes(from, n), MutableBytes(to, n), [](uint8_t b) { return ToLower(b); });
  }
  size_t i = 0;
  for (; i + kWordBytes <= n; i += kWordBytes) {
    const uint64_t word = LowerLetters(LoadWord(from + i));
    std::memcpy(to + i, &word, kWordBytes);
  }
  // The last word overlaps the one before it, read again from the source.
  if (i < n) {
    const uint64_t word = LowerLetters(LoadWord(from + n - kWordBytes));
    std::memcpy(to + n - kWordBytes, &word, kWordBytes);
  }
}

}  // namespace twinekit::names
