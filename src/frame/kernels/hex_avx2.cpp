// Hexadecimal digits with AVX2: the digits of 32 input bytes (64 output
// bytes) at a time, and the values of 64 input bytes (32 output bytes) at
// a time; what is left goes to the SSE2 form, then the plain one, so that
// no load or store passes either buffer's end.
#include "frame/kernels/kernel_table.h"

#ifdef TK_X86_KERNELS

#include <immintrin.h>

#include "frame/kernels/form_target.h"

namespace twinekit::kernels {
namespace {

TK_TARGET_BEGIN("avx2,popcnt,bmi,bmi2")

#include "frame/kernels/avx2_blocks.inl"

// The byte rules of the SSE2 form, lane for lane: see hex_sse2.cpp.
inline __m256i DigitOf(__m256i v) {
  const __m256i above_nine = _mm256_and_si256(_mm256_cmpgt_epi8(v, Splat(9)), Splat(7));
  return _mm256_add_epi8(v, _mm256_add_epi8(Splat('0'), above_nine));
}

inline __m256i LooseHexDigits(__m256i x) {
  const __m256i from_upper = _mm256_and_si256(_mm256_cmpgt_epi8(x, Splat(0x40)), Splat(7));
  const __m256i from_lower = _mm256_and_si256(_mm256_cmpgt_epi8(x, Splat(0x60)), Splat(0x20));
  return _mm256_sub_epi8(_mm256_sub_epi8(_mm256_sub_epi8(x, Splat(0x30)), from_upper), from_lower);
}

inline __m256i PackedDigits(__m256i x) {
  const __m256i decimal = _mm256_sub_epi8(x, Splat('0'));
  const __m256i is_digit = _mm256_cmpeq_epi8(_mm256_min_epu8(decimal, Splat(9)), decimal);
  const __m256i other = _mm256_and_si256(_mm256_sub_epi8(x, Splat(55)), Splat(0x0F));
  return _mm256_blendv_epi8(other, decimal, is_digit);
}

// Pairs of digit values as in the SSE2 form; the pack works within each
// 128-bit lane, so its quarters come out as a0 b0 a1 b1 and are put back
// in order.
inline __m256i CombinePairs(__m256i a, __m256i b) {
  const __m256i low_byte = _mm256_set1_epi16(0x00FF);
  const __m256i pa = _mm256_and_si256(_mm256_add_epi16(_mm256_slli_epi16(a, 4), _mm256_srli_epi16(a, 8)), low_byte);
  const __m256i pb = _mm256_and_si256(_mm256_add_epi16(_mm256_slli_epi16(b, 4), _mm256_srli_epi16(b, 8)), low_byte);
  return _mm256_permute4x64_epi64(_mm256_packus_epi16(pa, pb), _MM_SHUFFLE(3, 1, 2, 0));
}

// The interleave works within each 128-bit lane too: the two halves of
// the digits of bytes 0-15 and 16-31 are taken back from both results.
void WriteDigits(Bytes in, uint8_t* out) {
  size_t i = 0;
  for (; i + 32 <= in.size(); i += 32) {
    const __m256i x = Load(in.data() + i);
    const __m256i high = DigitOf(_mm256_and_si256(_mm256_srli_epi16(x, 4), Splat(0x0F)));
    const __m256i low = DigitOf(_mm256_and_si256(x, Splat(0x0F)));
    const __m256i first = _mm256_unpacklo_epi8(high, low);
    const __m256i second = _mm256_unpackhi_epi8(high, low);
    Store(out + 2 * i, _mm256_permute2x128_si256(first, second, 0x20));
    Store(out + 2 * i + 32, _mm256_permute2x128_si256(first, second, 0x31));
  }
  kSse2Hex.write_digits(in.subspan(i), out + 2 * i);
}

void ReadSignedPairs(Bytes in, uint8_t* out) {
  size_t k = 0;
  for (; 2 * k + 64 <= in.size(); k += 32) {
    const uint8_t* p = in.data() + 2 * k;
    Store(out + k, CombinePairs(LooseHexDigits(Load(p)), LooseHexDigits(Load(p + 32))));
  }
  kSse2Hex.read_signed_pairs(in.subspan(2 * k), out + k);
}

void ReadPackedPairs(Bytes in, uint8_t* out) {
  size_t k = 0;
  for (; 2 * k + 64 <= in.size(); k += 32) {
    const uint8_t* p = in.data() + 2 * k;
    Store(out + k, CombinePairs(PackedDigits(Load(p)), PackedDigits(Load(p + 32))));
  }
  kSse2Hex.read_packed_pairs(in.subspan(2 * k), out + k);
}

TK_TARGET_END

}  // namespace

const HexKernels kAvx2Hex = {WriteDigits, ReadSignedPairs, ReadPackedPairs};

}  // namespace twinekit::kernels

#endif  // TK_X86_KERNELS
