// Writing bytes as upper-case hexadecimal digits, high half first: the
// form both the hexadecimal conversion and the unpacking of packed digits
// give.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/bytes.h"

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

}  // namespace twinekit
