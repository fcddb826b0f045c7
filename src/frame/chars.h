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

// Printable ASCII that is neither a letter, a digit nor the blank.
constexpr bool IsPunct(uint8_t c) {
  return (c >= 0x21 && c <= 0x2F) || (c >= 0x3A && c <= 0x40) ||
         (c >= 0x5B && c <= 0x60) || (c >= 0x7B && c <= 0x7E);
}

constexpr bool IsUpper(uint8_t c) { return c >= 'A' && c <= 'Z'; }
constexpr bool IsLower(uint8_t c) { return c >= 'a' && c <= 'z'; }

constexpr uint8_t ToUpper(uint8_t c) { return IsLower(c) ? static_cast<uint8_t>(c - 0x20) : c; }
constexpr uint8_t ToLower(uint8_t c) { return IsUpper(c) ? static_cast<uint8_t>(c + 0x20) : c; }

// Lowers every byte before the first zero byte, in place; returns s.
inline uint8_t* LowerInPlace(uint8_t* s) {
  for (uint8_t* p = s; *p != 0; ++p) *p = ToLower(*p);
  return s;
}

}  // namespace twinekit
