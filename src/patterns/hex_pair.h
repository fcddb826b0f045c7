// Bytes as the extended patterns read them: a hex pair is two bytes taken
// as digits by a fixed rule with no check, and set ranges order bytes as
// signed numbers, so 0x80 to 0xFF come below 0x00.
#pragma once

#include <cstdint>

namespace twinekit::patterns {

constexpr int SignedByte(uint8_t b) { return static_cast<int8_t>(b); }

// The digit value of any byte: exact for "0"-"9", "A"-"F" and "a"-"f",
// something arbitrary but fixed for every other byte.
constexpr int LooseDigit(uint8_t b) {
  const int x = SignedByte(b);
  if (x >= 'a') return x - 87;
  if (x >= 'A') return x - 55;
  return x - 48;
}

// (16 × high + low) modulo 256.
constexpr uint8_t HexPair(uint8_t high, uint8_t low) {
  return static_cast<uint8_t>(static_cast<unsigned>(16 * LooseDigit(high) + LooseDigit(low)) &
                              0xFFu);
}

static_assert(HexPair('4', '1') == 'A' && HexPair('f', 'F') == 0xFF && HexPair('Z', 'Z') == 'S');

}  // namespace twinekit::patterns
