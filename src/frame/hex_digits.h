// Hexadecimal digits: bytes written as upper-case digits, high half first
// (the form both the hexadecimal conversion and the unpacking of packed
// digits give), and pairs of bytes read back by the unchecked rule of the
// hexadecimal conversion and the extended patterns, or by the rule of
// compaction.  The checked reader of one digit is HexDigitValue in
// frame/chars.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/byte_table.h"
#include "frame/bytes.h"
#include "frame/chars.h"

namespace twinekit {

constexpr uint8_t UpperHexDigit(uint8_t nibble) { return "0123456789ABCDEF"[nibble & 0x0F]; }

// Writes 2 × in.size() digits to out, which must have room for them;
// returns how many it wrote.
inline size_t WriteHexPairs(Bytes in, MutableBytes out) {
  size_t written = 0;
  for (uint8_t b : in) {
    out[written++] = UpperHexDigit(static_cast<uint8_t>(b >> 4));
    out[written++] = UpperHexDigit(b);
  }
  return written;
}

// The digit value of a byte taken as a signed 8-bit number, unchecked:
// right for "0"-"9", "A"-"F" and "a"-"f", some fixed number for anything
// else (negative for bytes 0x80 to 0xFF and for bytes below "0").
constexpr int LooseHexDigit(uint8_t byte) {
  const int x = static_cast<int8_t>(byte);
  if (x >= 'a') return x - 0x57;
  if (x >= 'A') return x - 0x37;
  return x - 0x30;
}

// A hex pair: (16 × LooseHexDigit(high) + LooseHexDigit(low)) modulo 256.
constexpr uint8_t HexPair(uint8_t high, uint8_t low) {
  return static_cast<uint8_t>(16 * LooseHexDigit(high) + LooseHexDigit(low));
}

static_assert(HexPair('4', '1') == 'A' && HexPair('f', 'F') == 0xFF && HexPair('Z', 'Z') == 'S');

// The digit rule of compaction, not the hex pair's: "0" to "9" read as 0
// to 9, any other byte b as (b - 55) mod 16, which gives "A"-"F" and
// "a"-"f" their values and every other byte a value from 0 to 15 (the hex
// pair's rule gives bytes outside the digits other values).
constexpr uint8_t PackedDigit(uint8_t b) {
  if (IsDigit(b)) return static_cast<uint8_t>(b - '0');
  return static_cast<uint8_t>(b - 55) & 0x0F;
}

// Each digit rule as a table of every byte's value modulo 256, so that a
// short text's pairs are read by loads with no jump that depends on a
// byte.  Either rule gives a pair's byte as 16 × high + low modulo 256.
inline constexpr ByteTable kLooseDigits = MakeByteTable(LooseHexDigit);
inline constexpr ByteTable kPackedDigits = MakeByteTable(PackedDigit);

}  // namespace twinekit
