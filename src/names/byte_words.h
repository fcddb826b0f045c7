// Eight bytes of a short text tested at once in an ordinary 64-bit word
// (little-endian: the first byte is the lowest), for the name passes over
// texts of a few dozen bytes.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#include "frame/word_find.h"

namespace twinekit::names {

inline constexpr size_t kWordBytes = 8;
using word_find_detail::EqualHighs;
using word_find_detail::GatherHighs;
using word_find_detail::kHighs;
using word_find_detail::kLows;
using word_find_detail::kOnes;
using word_find_detail::LoadWord;

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
  }
  for (; i < length; ++i) bits |= uint64_t{p[i] == value} << i;
  return bits;
}

}  // namespace twinekit::names
