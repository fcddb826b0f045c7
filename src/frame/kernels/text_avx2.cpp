// The text passes 32 bytes at a time with AVX2; what is left goes to the
// SSE2 form, then the plain one.
#include "frame/kernels/kernel_table.h"

#ifdef TK_X86_KERNELS

#include <immintrin.h>

#include <bit>

#include "frame/chars.h"
#include "frame/kernels/form_target.h"

namespace twinekit::kernels {
namespace {

TK_TARGET_BEGIN("avx2,popcnt,bmi,bmi2")

#include "frame/kernels/avx2_blocks.inl"

// Each block of 32 reversed within its two 128-bit lanes by one shuffle,
// the lanes then swapped.
void Reverse(Bytes in, uint8_t* out) {
  const __m256i backwards = _mm256_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13,
                                             12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
  const size_t n = in.size();
  size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m256i v = _mm256_shuffle_epi8(Load(in.data() + i), backwards);
    Store(out + n - i - 32, _mm256_permute4x64_epi64(v, _MM_SHUFFLE(1, 0, 3, 2)));
  }
  kSse2Text.reverse(in.subspan(i), out);
}

void RaiseAfterBlanks(Bytes in, uint8_t* out) {
  if (in.empty()) return;
  out[0] = ToUpper(in[0]);
  size_t i = 1;
  for (; i + 32 <= in.size(); i += 32) {
    const __m256i before = Load(in.data() + i - 1);
    const __m256i block = Load(in.data() + i);
    const __m256i raise = _mm256_and_si256(_mm256_cmpeq_epi8(before, Splat(' ')), InRange(block, 'a', 'z'));
    Store(out + i, _mm256_xor_si256(block, _mm256_and_si256(raise, Splat(0x20))));
  }
  // The SSE2 form sees the rest from the byte before it, which it takes
  // for a text's first and raises; that byte is done already.
  const uint8_t done = out[i - 1];
  kSse2Text.raise_after_blanks(in.subspan(i - 1), out + i - 1);
  out[i - 1] = done;
}

// As in the SSE2 form: whether a byte starts a word depends only on the
// byte before it, whose class changing case never changes.
void Capitalise(uint8_t* work, size_t n, bool after_punct) {
  size_t p = 1;
  const __m256i punct_starts = after_punct ? _mm256_set1_epi8(-1) : _mm256_setzero_si256();
  for (; p + 32 <= n + 1; p += 32) {
    const __m256i before = Load(work + p - 1);
    const __m256i block = Load(work + p);
    __m256i punct = _mm256_setzero_si256();
    for (const ByteRange range : kPunctRanges) {
      punct = _mm256_or_si256(punct, InRange(before, range.first, range.last));
    }
    const __m256i starts =
        _mm256_or_si256(_mm256_cmpeq_epi8(before, Splat(' ')), _mm256_and_si256(punct_starts, punct));
    const __m256i flip = _mm256_or_si256(_mm256_and_si256(starts, InRange(block, 'a', 'z')),
                                         _mm256_andnot_si256(starts, InRange(block, 'A', 'Z')));
    Store(work + p, _mm256_xor_si256(block, _mm256_and_si256(flip, Splat(0x20))));
  }
  kSse2Text.capitalise(work + p - 1, n + 1 - p, after_punct);
}

// Thirty-two places tested at once.
size_t FindPair(const uint8_t* y, size_t from, size_t last, size_t first_at, uint8_t first,
                size_t second_at, uint8_t second) {
  const __m256i a = Splat(first);
  const __m256i b = Splat(second);
  size_t j = from;
  for (; j <= last && last - j >= 31; j += 32) {
    const __m256i both = _mm256_and_si256(_mm256_cmpeq_epi8(Load(y + j + first_at), a),
                                          _mm256_cmpeq_epi8(Load(y + j + second_at), b));
    const auto mask = static_cast<uint32_t>(_mm256_movemask_epi8(both));
    if (mask != 0) return j + static_cast<size_t>(std::countr_zero(mask));
  }
  return j > last ? SIZE_MAX : kSse2Text.find_pair(y, j, last, first_at, first, second_at, second);
}

TK_TARGET_END

}  // namespace

const TextKernels kAvx2Text = {Reverse, RaiseAfterBlanks, Capitalise, FindPair};

}  // namespace twinekit::kernels

#endif  // TK_X86_KERNELS
