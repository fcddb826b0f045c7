// The text passes 16 bytes at a time with SSE2; the bytes after the last
// whole block go to the plain form.
#include "frame/kernels/kernel_table.h"

#ifdef TK_X86_KERNELS

#include <emmintrin.h>

#include <bit>

#include "frame/chars.h"
#include "frame/kernels/form_target.h"

namespace twinekit::kernels {
namespace {

TK_TARGET_BEGIN("sse2")

#include "frame/kernels/sse2_blocks.inl"

// Each block of 16 from the front of in reversed within a register and
// stored at the back of out.
void Reverse(Bytes in, uint8_t* out) {
  const size_t n = in.size();
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    __m128i v = Load(in.data() + i);
    v = _mm_shuffle_epi32(v, _MM_SHUFFLE(0, 1, 2, 3));        // the four 32-bit lanes
    v = _mm_shufflelo_epi16(v, _MM_SHUFFLE(2, 3, 0, 1));      // the 16-bit halves of each
    v = _mm_shufflehi_epi16(v, _MM_SHUFFLE(2, 3, 0, 1));
    v = _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8));  // the bytes of each half
    Store(out + n - i - 16, v);
  }
  kPlainText.reverse(in.subspan(i), out);
}

// Bit 5 off for a small letter after a blank.
void RaiseAfterBlanks(Bytes in, uint8_t* out) {
  if (in.empty()) return;
  out[0] = ToUpper(in[0]);
  size_t i = 1;
  for (; i + 16 <= in.size(); i += 16) {
    const __m128i before = Load(in.data() + i - 1);
    const __m128i block = Load(in.data() + i);
    const __m128i raise = _mm_and_si128(_mm_cmpeq_epi8(before, Splat(' ')), InRange(block, 'a', 'z'));
    Store(out + i, _mm_xor_si128(block, _mm_and_si128(raise, Splat(0x20))));
  }
  for (; i < in.size(); ++i) out[i] = in[i - 1] == ' ' ? ToUpper(in[i]) : in[i];
}

// Whether a byte is a capital depends only on whether the byte before it
// is a blank (or a punctuation mark): classes that changing case never
// changes.  So the bytes before a block of 16 may be read as they stand,
// changed or not, and each block is decided at once.
void Capitalise(uint8_t* work, size_t n, bool after_punct) {
  size_t p = 1;
  const __m128i punct_starts = after_punct ? _mm_set1_epi8(-1) : _mm_setzero_si128();
  for (; p + 16 <= n + 1; p += 16) {
    const __m128i before = Load(work + p - 1);
    const __m128i block = Load(work + p);
    __m128i punct = _mm_setzero_si128();
    for (const ByteRange range : kPunctRanges) punct = _mm_or_si128(punct, InRange(before, range.first, range.last));
    const __m128i starts = _mm_or_si128(_mm_cmpeq_epi8(before, Splat(' ')), _mm_and_si128(punct_starts, punct));
    // Case changes by flipping bit 5: of a small letter starting a word,
    // of a capital inside one.
    const __m128i flip = _mm_or_si128(_mm_and_si128(starts, InRange(block, 'a', 'z')),
                                      _mm_andnot_si128(starts, InRange(block, 'A', 'Z')));
    Store(work + p, _mm_xor_si128(block, _mm_and_si128(flip, Splat(0x20))));
  }
  kPlainText.capitalise(work + p - 1, n + 1 - p, after_punct);
}

// Sixteen places tested at once.
size_t FindPair(const uint8_t* y, size_t from, size_t last, size_t first_at, uint8_t first,
                size_t second_at, uint8_t second) {
  const __m128i a = Splat(first);
  const __m128i b = Splat(second);
  size_t j = from;
  for (; j <= last && last - j >= 15; j += 16) {
    const __m128i both = _mm_and_si128(_mm_cmpeq_epi8(Load(y + j + first_at), a),
                                       _mm_cmpeq_epi8(Load(y + j + second_at), b));
    const auto mask = static_cast<uint32_t>(_mm_movemask_epi8(both));
    if (mask != 0) return j + static_cast<size_t>(std::countr_zero(mask));
  }
  return j > last ? SIZE_MAX : kPlainText.find_pair(y, j, last, first_at, first, second_at, second);
}

TK_TARGET_END

}  // namespace

const TextKernels kSse2Text = {Reverse, RaiseAfterBlanks, Capitalise, FindPair};

}  // namespace twinekit::kernels

#endif  // TK_X86_KERNELS
