// Hexadecimal digits with SSE2: the digits of 16 input bytes (32 output
// bytes) at a time while 16 input bytes remain, and the values of 32 input
// bytes (16 output bytes) at a time while 32 remain.  No load or store
// passes either buffer's end; the last bytes go to the plain form.
#include "frame/kernels/kernel_table.h"

#ifdef TK_X86_KERNELS

#include <emmintrin.h>

#include "frame/kernels/form_target.h"

namespace twinekit::kernels {
namespace {

TK_TARGET_BEGIN("sse2")

#include "frame/kernels/sse2_blocks.inl"

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

void WriteDigits(Bytes in, uint8_t* out) {
  size_t i = 0;
  for (; i + 16 <= in.size(); i += 16) {
    const __m128i x = Load(in.data() + i);
    const __m128i high = DigitOf(_mm_and_si128(_mm_srli_epi16(x, 4), Splat(0x0F)));
    const __m128i low = DigitOf(_mm_and_si128(x, Splat(0x0F)));
    Store(out + 2 * i, _mm_unpacklo_epi8(high, low));
    Store(out + 2 * i + 16, _mm_unpackhi_epi8(high, low));
  }
  kPlainHex.write_digits(in.subspan(i), out + 2 * i);
}

void ReadSignedPairs(Bytes in, uint8_t* out) {
  size_t k = 0;
  for (; 2 * k + 32 <= in.size(); k += 16) {
    const uint8_t* p = in.data() + 2 * k;
    Store(out + k, CombinePairs(LooseHexDigits(Load(p)), LooseHexDigits(Load(p + 16))));
  }
  kPlainHex.read_signed_pairs(in.subspan(2 * k), out + k);
}

void ReadPackedPairs(Bytes in, uint8_t* out) {
  size_t k = 0;
  for (; 2 * k + 32 <= in.size(); k += 16) {
    const uint8_t* p = in.data() + 2 * k;
    Store(out + k, CombinePairs(PackedDigits(Load(p)), PackedDigits(Load(p + 16))));
  }
  kPlainHex.read_packed_pairs(in.subspan(2 * k), out + k);
}

TK_TARGET_END

}  // namespace

const HexKernels kSse2Hex = {WriteDigits, ReadSignedPairs, ReadPackedPairs};

}  // namespace twinekit::kernels

#endif  // TK_X86_KERNELS
