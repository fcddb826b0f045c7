// Character classes and case mappings of the POSIX locale, ASCII only:
// bytes 0x80 to 0xFF are in no class and keep their case.
#pragma once

#include <cstddef>
#include <cstdint>

namespace twinekit {

constexpr bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }

constexpr bool IsHexDigit(uint8_t c) {
  return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// The value of a hexadecimal digit, either case; -1 for any other byte.
constexpr int HexDigitValue(uint8_t c) {
  if (IsDigit(c)) return c - '0';
  if (!IsHexDigit(c)) return -1;
  return (c | 0x20) - 'a' + 10;
}

// The bytes from first to last.
struct ByteRange {
  uint8_t first;
  uint8_t last;
};

// The punctuation marks, printable ASCII that is neither a letter, a digit
// nor the blank, as the ranges between those: the one table that every
// test of punctuation, a byte, a word or a block at a time, goes by.
inline constexpr ByteRange kPunctRanges[] = {{0x21, 0x2F}, {0x3A, 0x40}, {0x5B, 0x60}, {0x7B, 0x7E}};

constexpr bool IsPunct(uint8_t c) {
  for (const ByteRange range : kPunctRanges) {
    if (c >= range.first && c <= range.last) return true;
  }
  return false;
}

constexpr bool IsUpper(uint8_t c) { return c >= 'A' && c <= 'Z'; }
constexpr bool IsLower(uint8_t c) { return c >= 'a' && c <= 'z'; }

constexpr uint8_t ToUpper(uint8_t c) { return IsLower(c) ? static_cast<uint8_t>(c - 0x20) : c; }
constexpr uint8_t ToLower(uint8_t c) { return IsUpper(c) ? static_cast<uint8_t>(c + 0x20) : c; }

}  // namespace twinekit
