// Eight bytes of a short text tested at once in an ordinary 64-bit word
// (little-endian: the first byte is the lowest), for the name passes over
// texts of a few dozen bytes.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#include "frame/word_bits.h"

namespace twinekit::names {

using words::EqualHighs;
using words::GatherHighs;
using words::kWordBytes;
using words::LoadWord;
using words::LowerLetters;
using words::RangeHighs;

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

}  // namespace twinekit::names
