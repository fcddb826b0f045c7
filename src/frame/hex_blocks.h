// Hexadecimal digits written and read in bulk: bytes to two upper-case
// digits each, and pairs of bytes to one byte by the hex pair's rule
// (frame/hex_digits.h) or by compaction's.
//
// As with the byte scans (frame/byte_scan.h), each has a bytewise form, the
// reference, and a blockwise form, the one the families use, which does 16
// output bytes at a time with SSE2 where the compiler targets it.  It loads
// 16 bytes only while 16 bytes of the input remain and leaves the last
// bytes to the bytewise form.
#pragma once

#include <cstddef>
#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "frame/bytes.h"
#include "frame/chars.h"
#include "frame/hex_digits.h"

namespace twinekit::hex {

// The digit rule of compaction, not the hex pair's: "0" to "9" read as 0
// to 9, any other byte b as (b - 55) mod 16, which gives "A"-"F" and
// "a"-"f" their values and every other byte a value from 0 to 15 (the hex
// pair's rule gives bytes outside the digits other values).
constexpr uint8_t PackedDigit(uint8_t b) {
  if (IsDigit(b)) return static_cast<uint8_t>(b - '0');
  return static_cast<uint8_t>(b - 55) & 0x0F;
}

namespace bytewise {

// Each byte of in as two upper-case digits, high half first: 2 × in.size()
// bytes to out.
inline void WriteDigits(Bytes in, uint8_t* out) {
  WriteHexPairs(in, MutableBytes(out, 2 * in.size()));
}

// Each pair of bytes of in as its HexPair: in.size() / 2 bytes to out (an
// odd last byte is left).
inline void ReadSignedPairs(Bytes in, uint8_t* out) {
  for (size_t k = 0; k < in.size() / 2; ++k) out[k] = HexPair(in[2 * k], in[2 * k + 1]);
}

// Each pair of bytes of in as 16 × PackedDigit(high) + PackedDigit(low).
inline void ReadPackedPairs(Bytes in, uint8_t* out) {
  for (size_t k = 0; k < in.size() / 2; ++k) {
    out[k] = static_cast<uint8_t>(PackedDigit(in[2 * k]) << 4 | PackedDigit(in[2 * k + 1]));
  }
}

}  // namespace bytewise

namespace blockwise {

#ifdef __SSE2__
namespace detail {

inline __m128i Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store(uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
inline __m128i Splat(int b) { return _mm_set1_epi8(static_cast<char>(b)); }

// Half-byte values 0 to 15 as "0"-"9" and "A"-"F": v + "0", and 7 more
// above 9.
inline __m128i DigitOf(__m128i v) {
  const __m128i above_nine = _mm_and_si128(_mm_cmpgt_epi8(v, Splat(9)), Splat(7));
  return _mm_add_epi8(v, _mm_add_epi8(Splat('0'), above_nine));
}

// LooseHexDigit modulo 256: x - 0x30, less 7 from "A" (signed x > 0x40) and
// 0x20 more from "a" (signed x > 0x60); bytes 0x80 to 0xFF, negative, take
// neither.
inline __m128i LooseHexDigits(__m128i x) {
  const __m128i from_upper = _mm_and_si128(_mm_cmpgt_epi8(x, Splat(0x40)), Splat(7));
  const __m128i from_lower = _mm_and_si128(_mm_cmpgt_epi8(x, Splat(0x60)), Splat(0x20));
  return _mm_sub_epi8(_mm_sub_epi8(_mm_sub_epi8(x, Splat(0x30)), from_upper), from_lower);
}

// PackedDigit: x - "0" where that is at most 9 (unsigned), else (x - 55)
// and 15.
inline __m128i PackedDigits(__m128i x) {
  const __m128i decimal = _mm_sub_epi8(x, Splat('0'));
  const __m128i is_digit = _mm_cmpeq_epi8(_mm_min_epu8(decimal, Splat(9)), decimal);
  const __m128i other = _mm_and_si128(_mm_sub_epi8(x, Splat(55)), Splat(0x0F));
  return _mm_or_si128(_mm_and_si128(is_digit, decimal), _mm_andnot_si128(is_digit, other));
}

// Digit values in pairs, high then low, as 16-bit lanes (low byte first):
// (16 × high + low) modulo 256 in each lane's low byte; 16 lanes from two
// blocks packed into 16 bytes.
inline __m128i CombinePairs(__m128i a, __m128i b) {
  const __m128i low_byte = _mm_set1_epi16(0x00FF);
  const __m128i pa = _mm_and_si128(_mm_add_epi16(_mm_slli_epi16(a, 4), _mm_srli_epi16(a, 8)), low_byte);
  const __m128i pb = _mm_and_si128(_mm_add_epi16(_mm_slli_epi16(b, 4), _mm_srli_epi16(b, 8)), low_byte);
  return _mm_packus_epi16(pa, pb);
}

// 32 input bytes at a time to 16 output bytes; returns the pairs done.
template <typename Digits>
size_t ReadPairBlocks(Bytes in, uint8_t* out, Digits digits) {
  size_t k = 0;
  for (; 2 * k + 32 <= in.size(); k += 16) {
    const uint8_t* p = in.data() + 2 * k;
    Store(out + k, CombinePairs(digits(Load(p)), digits(Load(p + 16))));
  }
  return k;
}

}  // namespace detail
#endif

// The same bytes as bytewise::WriteDigits.
inline void WriteDigits(Bytes in, uint8_t* out) {
  size_t i = 0;
#ifdef __SSE2__
  for (; i + 16 <= in.size(); i += 16) {
    const __m128i x = detail::Load(in.data() + i);
    const __m128i high = detail::DigitOf(_mm_and_si128(_mm_srli_epi16(x, 4), detail::Splat(0x0F)));
    const __m128i low = detail::DigitOf(_mm_and_si128(x, detail::Splat(0x0F)));
    detail::Store(out + 2 * i, _mm_unpacklo_epi8(high, low));
    detail::Store(out + 2 * i + 16, _mm_unpackhi_epi8(high, low));
  }
#endif
  bytewise::WriteDigits(in.subspan(i), out + 2 * i);
}

// The same bytes as bytewise::ReadSignedPairs.
inline void ReadSignedPairs(Bytes in, uint8_t* out) {
  size_t k = 0;
#ifdef __SSE2__
  k = detail::ReadPairBlocks(in, out, detail::LooseHexDigits);
#endif
  bytewise::ReadSignedPairs(in.subspan(2 * k), out + k);
}

// The same bytes as bytewise::ReadPackedPairs.
inline void ReadPackedPairs(Bytes in, uint8_t* out) {
  size_t k = 0;
#ifdef __SSE2__
  k = detail::ReadPairBlocks(in, out, detail::PackedDigits);
#endif
  bytewise::ReadPackedPairs(in.subspan(2 * k), out + k);
}

}  // namespace blockwise

// The forms the families call.
inline void WriteDigits(Bytes in, uint8_t* out) { blockwise::WriteDigits(in, out); }
inline void ReadSignedPairs(Bytes in, uint8_t* out) { blockwise::ReadSignedPairs(in, out); }
inline void ReadPackedPairs(Bytes in, uint8_t* out) { blockwise::ReadPackedPairs(in, out); }

}  // namespace twinekit::hex
