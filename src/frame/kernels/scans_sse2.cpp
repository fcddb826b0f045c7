// The scans 16 bytes at a time with SSE2.
#include "frame/kernels/kernel_table.h"

#ifdef TK_X86_KERNELS

#include <emmintrin.h>

#include <algorithm>
#include <bit>
#include <cstring>

#include "frame/kernels/form_target.h"
#include "frame/word_bits.h"

namespace twinekit::kernels {
namespace {

TK_TARGET_BEGIN("sse2")

#include "frame/kernels/scan_windows.inl"
#include "frame/kernels/sse2_blocks.inl"
#include "frame/kernels/scan_blocks16.inl"

// A class of more than kMaxRuns runs: its bit set, byte by byte.
class BySet : public Blocks<BySet> {
 public:
  explicit BySet(const ByteClass& c) : class_(c) {}
  bool One(uint8_t b) const { return class_.Contains(b); }
  __m128i Hits(const uint8_t* p) const {
    alignas(16) uint8_t hits[16];
    for (int i = 0; i < 16; ++i) hits[i] = class_.Contains(p[i]) ? 0xFF : 0;
    return _mm_load_si128(reinterpret_cast<const __m128i*>(hits));
  }

 private:
  const ByteClass& class_;
};

// The kept bytes of the 16 at p (bit i of keep set: p[i] kept) moved to
// the front of the block, in order; the lanes after them hold zero bytes.
// Each kept byte moves towards the front by the number of dropped bytes
// before it, in four steps of 1, 2, 4 and 8 lanes taken by the bits of
// that number, smallest first, so that no two kept bytes ever meet.
template <int kBy>
inline void MoveBy(__m128i& value, __m128i& shift) {
  const __m128i by = Splat(kBy);
  const __m128i moves = _mm_cmpeq_epi8(_mm_and_si128(shift, by), by);
  value = _mm_or_si128(_mm_andnot_si128(moves, value), _mm_srli_si128(_mm_and_si128(value, moves), kBy));
  shift = _mm_or_si128(_mm_andnot_si128(moves, shift), _mm_srli_si128(_mm_and_si128(shift, moves), kBy));
}

inline __m128i PackKept(const uint8_t* p, uint32_t keep) {
  const __m128i lane_bit = _mm_set_epi8(-128, 64, 32, 16, 8, 4, 2, 1, -128, 64, 32, 16, 8, 4, 2, 1);
  const __m128i bits = _mm_unpacklo_epi64(_mm_set1_epi8(static_cast<char>(keep & 0xFF)),
                                          _mm_set1_epi8(static_cast<char>(keep >> 8)));
  const __m128i kept = _mm_cmpeq_epi8(_mm_and_si128(bits, lane_bit), lane_bit);
  __m128i value = _mm_and_si128(Load(p), kept);
  __m128i dropped = _mm_andnot_si128(kept, Splat(1));
  dropped = _mm_add_epi8(dropped, _mm_slli_si128(dropped, 1));
  dropped = _mm_add_epi8(dropped, _mm_slli_si128(dropped, 2));
  dropped = _mm_add_epi8(dropped, _mm_slli_si128(dropped, 4));
  dropped = _mm_add_epi8(dropped, _mm_slli_si128(dropped, 8));
  __m128i shift = _mm_and_si128(dropped, kept);
  MoveBy<1>(value, shift);
  MoveBy<2>(value, shift);
  MoveBy<4>(value, shift);
  MoveBy<8>(value, shift);
  return value;
}

// A block kept whole is one 16-byte copy, a block dropped whole nothing, a
// mixed block its kept bytes moved to its front and stored whole; the
// bytes stored past the kept ones are overwritten by the next block.
// Blocks go whole while 16 bytes of out remain, so that no store passes
// its end; the rest go byte by byte.
template <typename M>
size_t KeepBy(Bytes s, const M& m, const ByteClass& c, bool keep_members, MutableBytes out_bytes) {
  const uint8_t* in = s.data();
  uint8_t* out = out_bytes.data();
  const uint32_t flip = keep_members ? 0u : 0xFFFFu;
  size_t written = 0;
  size_t i = 0;
  for (; i + 16 <= s.size() && written + 16 <= out_bytes.size(); i += 16) {
    const uint32_t keep = m.Mask16(in + i) ^ flip;
    if (keep == 0xFFFFu) {
      std::memcpy(out + written, in + i, 16);
      written += 16;
    } else if (keep != 0) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + written), PackKept(in + i, keep));
      written += words::CountOfBits(keep);
    }
  }
  return written + KeepRest(s.subspan(i), c, keep_members, out + written);
}

struct KeepOp {
  Bytes s;
  const ByteClass& c;
  bool keep_members;
  MutableBytes out;
  template <typename M>
  size_t operator()(const M& m) const { return KeepBy(s, m, c, keep_members, out); }
};

#include "frame/kernels/scan_entries.inl"

TK_TARGET_END


}  // namespace

const ScanKernels kSse2Scans = {Count, FindNth, FindNthLast, Keep};

}  // namespace twinekit::kernels

#endif  // TK_X86_KERNELS
