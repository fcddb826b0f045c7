// Hexadecimal digits written and read in bulk: bytes to two upper-case
// digits each, and pairs of bytes to one byte by the hex pair's rule
// (frame/hex_digits.h) or by compaction's.  The work is done by the kernel
// of the form the CPU runs best (frame/kernels/), except for texts too short
// for its vector forms to start, which are done a word at a time here: the
// kernel's calls would cost more than their work.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "frame/bytes.h"
#include "frame/hex_digits.h"
#include "frame/kernels/kernel_table.h"
#include "frame/word_bits.h"

namespace twinekit::hex {

// Whether ReadShortPairs reads a text of `size` bytes: from 16 bytes, the
// pairs fill a word; from 32, the kernels' vector forms take over.  Its
// words are laid out for a little-endian machine.
constexpr bool FitsShortPairs(size_t size) {
  return std::endian::native == std::endian::little && size >= 16 && size < 32;
}

// The 8 pairs of bytes at in read by digits, as the 8 bytes of a word in
// memory order.
inline uint64_t EightPairs(const uint8_t* in, const ByteTable& digits) {
  uint64_t word = 0;
#pragma GCC unroll 8
  for (size_t k = 0; k < 8; ++k) {
    const uint8_t pair = static_cast<uint8_t>(digits[in[2 * k]] << 4) + digits[in[2 * k + 1]];
    word |= uint64_t{pair} << (8 * k);
  }
  return word;
}

// Each pair of bytes of in (FitsShortPairs; an odd last byte is left) read by digits to out, as two word stores that may
// overlap: the first 8 pairs and the last 8.
inline void ReadShortPairs(Bytes in, const ByteTable& digits, uint8_t* out) {
  const size_t pairs = in.size() / 2;
  words::StoreWord(out, EightPairs(in.data(), digits));
  if (pairs == 8) return;
  words::StoreWord(out + pairs - 8, EightPairs(in.data() + 2 * (pairs - 8), digits));
}

// Every byte's two upper-case digits as one 16-bit value, the high digit
// in the low byte (first in memory on a little-endian machine).
inline constexpr std::array<uint16_t, 256> kDigitPairs = [] {
  std::array<uint16_t, 256> pairs{};
  for (size_t b = 0; b < 256; ++b) {
    pairs[b] = static_cast<uint16_t>(UpperHexDigit(static_cast<uint8_t>(b >> 4)) |
                                     UpperHexDigit(static_cast<uint8_t>(b)) << 8);
  }
  return pairs;
}();

// Whether WriteShortDigits writes the digits of `size` bytes: from 4 bytes
// their digits fill a word; from 32 the kernels' vector forms take over.
constexpr bool FitsShortDigits(size_t size) {
  return std::endian::native == std::endian::little && size >= 4 && size < 32;
}

// The digits of the 4 bytes at in as the 8 bytes of a word.
inline uint64_t FourDigitPairs(const uint8_t* in) {
  return uint64_t{kDigitPairs[in[0]]} | uint64_t{kDigitPairs[in[1]]} << 16 |
         uint64_t{kDigitPairs[in[2]]} << 32 | uint64_t{kDigitPairs[in[3]]} << 48;
}

// WriteDigits for a text that FitsShortDigits, a word of digits a store:
// 4 bytes at a time, then the last 4, which may overlap.
inline void WriteShortDigits(Bytes in, uint8_t* out) {
  size_t i = 0;
  for (; i + 4 <= in.size(); i += 4) {
    words::StoreWord(out + 2 * i, FourDigitPairs(in.data() + i));
  }
  if (i == in.size()) return;
  const size_t last = in.size() - 4;
  words::StoreWord(out + 2 * last, FourDigitPairs(in.data() + last));
}

// Each byte of in as two upper-case digits, high half first: 2 × in.size()
// bytes to out.
inline void WriteDigits(Bytes in, uint8_t* out) {
  if (FitsShortDigits(in.size())) return WriteShortDigits(in, out);
  kernels::Kernels().hex->write_digits(in, out);
}

// Each pair of bytes of in as its HexPair: in.size() / 2 bytes to out (an
// odd last byte is left).
inline void ReadSignedPairs(Bytes in, uint8_t* out) {
  if (FitsShortPairs(in.size())) return ReadShortPairs(in, kLooseDigits, out);
  kernels::Kernels().hex->read_signed_pairs(in, out);
}

// Each pair of bytes of in as 16 × PackedDigit(high) + PackedDigit(low).
inline void ReadPackedPairs(Bytes in, uint8_t* out) {
  if (FitsShortPairs(in.size())) return ReadShortPairs(in, kPackedDigits, out);
  kernels::Kernels().hex->read_packed_pairs(in, out);
}

}  // namespace twinekit::hex
