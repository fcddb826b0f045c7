// Eight bytes of a short text tested at once in an ordinary 64-bit word
// (little-endian: the first byte is the lowest), for the name passes over
// texts of a few dozen bytes.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace twinekit::names {

inline constexpr size_t kWordBytes = 8;
inline constexpr uint64_t kOnes = 0x0101010101010101u;
inline constexpr uint64_t kLows = 0x7F * kOnes;
inline constexpr uint64_t kHighs = 0x80 * kOnes;

// The most places one 64-bit set of places holds.
inline constexpr size_t kMaxPlaces = 64;

inline uint64_t LoadWord(const uint8_t* p) {
  uint64_t word;
  std::memcpy(&word, p, kWordBytes);
  return word;
}

// 0x80 in each byte of x equal to value, exactly: no sum carries out of
// its byte, so a byte's answer never depends on its neighbours.
inline uint64_t EqualBytes(uint64_t x, uint8_t value) {
  const uint64_t t = x ^ (kOnes * value);
  return ~(((t & kLows) + kLows) | t) & kHighs;
}

// Bit i set where p[i] == value, for i < length <= kMaxPlaces.
inline uint64_t PlacesOf(const uint8_t* p, size_t length, uint8_t value) {
  uint64_t bits = 0;
  size_t i = 0;
  if constexpr (std::endian::native == std::endian::little) {
    for (; i + kWordBytes <= length; i += kWordBytes) {
      // The marks gathered into the top byte in place order.
      const uint64_t marks = EqualBytes(LoadWord(p + i), value) >> 7;
      bits |= ((marks * 0x0102040810204080u) >> 56) << i;
    }
  }
  for (; i < length; ++i) bits |= uint64_t{p[i] == value} << i;
  return bits;
}

}  // namespace twinekit::names
