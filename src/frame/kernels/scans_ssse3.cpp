// The scans 16 bytes at a time with SSSE3: the SSE2 matchers, classes of
// many runs by byte shuffles, and Keep by shuffles.
#include "frame/kernels/kernel_table.h"

#ifdef TK_X86_KERNELS

#include <emmintrin.h>
#include <tmmintrin.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "frame/kernels/form_target.h"
#include "frame/word_bits.h"

namespace twinekit::kernels {
namespace {

TK_TARGET_BEGIN("ssse3")

#include "frame/kernels/scan_windows.inl"
#include "frame/kernels/sse2_blocks.inl"
#include "frame/kernels/scan_blocks16.inl"

// A class of more than kMaxRuns runs, any set of the 256 values, by its
// rows (ByteClass::nibble_rows): the row of a byte's low half, from the
// table of its high half's top bit (a shuffle gives zero in a lane whose
// index has bit 7 set, so each table answers only its own half of the
// values), tested at the bit of the high half's other three bits.
class BySet : public Blocks<BySet> {
 public:
  explicit BySet(const ByteClass& c)
      : class_(c), low_rows_(Load(c.nibble_rows().data())), high_rows_(Load(c.nibble_rows().data() + 16)) {}
  bool One(uint8_t b) const { return class_.Contains(b); }
  __m128i Hits(const uint8_t* p) const {
    const __m128i bit_of_high = _mm_set_epi8(-128, 64, 32, 16, 8, 4, 2, 1, -128, 64, 32, 16, 8, 4, 2, 1);
    const __m128i block = Load(p);
    const __m128i row = _mm_or_si128(_mm_shuffle_epi8(low_rows_, block),
                                     _mm_shuffle_epi8(high_rows_, _mm_xor_si128(block, Splat(0x80))));
    const __m128i bit = _mm_shuffle_epi8(bit_of_high, _mm_and_si128(_mm_srli_epi16(block, 4), Splat(0x0F)));
    return _mm_cmpeq_epi8(_mm_and_si128(row, bit), bit);
  }

 private:
  const ByteClass& class_;
  __m128i low_rows_;
  __m128i high_rows_;
};

#include "frame/kernels/keep_shuffles.inl"
#include "frame/kernels/scan_entries.inl"

TK_TARGET_END

}  // namespace

const ScanKernels kSsse3Scans = {Count, FindNth, FindNthLast, Keep};

}  // namespace twinekit::kernels

#endif  // TK_X86_KERNELS
