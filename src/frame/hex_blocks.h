// Hexadecimal digits written and read in bulk: bytes to two upper-case
// digits each, and pairs of bytes to one byte by the hex pair's rule
// (frame/hex_digits.h) or by compaction's.  The work is done by the kernel
// of the form the CPU runs best (frame/kernels/).
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/bytes.h"
#include "frame/chars.h"
#include "frame/kernels/kernel_table.h"

namespace twinekit::hex {

// The digit rule of compaction, not the hex pair's: "0" to "9" read as 0
// to 9, any other byte b as (b - 55) mod 16, which gives "A"-"F" and
// "a"-"f" their values and every other byte a value from 0 to 15 (the hex
// pair's rule gives bytes outside the digits other values).
constexpr uint8_t PackedDigit(uint8_t b) {
  if (IsDigit(b)) return static_cast<uint8_t>(b - '0');
  return static_cast<uint8_t>(b - 55) & 0x0F;
}

// Each byte of in as two upper-case digits, high half first: 2 × in.size()
// bytes to out.
inline void WriteDigits(Bytes in, uint8_t* out) { kernels::Kernels().hex->write_digits(in, out); }

// Each pair of bytes of in as its HexPair: in.size() / 2 bytes to out (an
// odd last byte is left).
inline void ReadSignedPairs(Bytes in, uint8_t* out) {
  kernels::Kernels().hex->read_signed_pairs(in, out);
}

// Each pair of bytes of in as 16 × PackedDigit(high) + PackedDigit(low).
inline void ReadPackedPairs(Bytes in, uint8_t* out) {
  kernels::Kernels().hex->read_packed_pairs(in, out);
}

}  // namespace twinekit::hex
