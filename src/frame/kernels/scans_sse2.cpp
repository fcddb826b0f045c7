// The scans 16 bytes at a time with SSE2, and Keep with SSSE3's shuffles.
#include "frame/kernels/kernel_table.h"

#ifdef TK_X86_KERNELS

#include <emmintrin.h>
#include <tmmintrin.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "frame/kernels/form_target.h"

namespace twinekit::kernels {
namespace {

TK_TARGET_BEGIN("sse2")

#include "frame/kernels/scan_windows.inl"
#include "frame/kernels/sse2_blocks.inl"

inline int Popcount64(uint64_t x) {
  x = x - ((x >> 1) & 0x5555555555555555u);
  x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
  return static_cast<int>((x * 0x0101010101010101u) >> 56);
}

// What every matcher shares: masks and bulk counts from Hits(p), a vector
// of 0xFF lanes for the members among the 16 bytes at p.
template <typename Self>
class Blocks {
 public:
  static int Popcount(uint64_t x) { return Popcount64(x); }

  uint32_t Mask16(const uint8_t* p) const {
    return static_cast<uint32_t>(_mm_movemask_epi8(self().Hits(p)));
  }
  uint64_t Mask64(const uint8_t* p) const {
    return uint64_t{Mask16(p)} | uint64_t{Mask16(p + 16)} << 16 |
           uint64_t{Mask16(p + 32)} << 32 | uint64_t{Mask16(p + 48)} << 48;
  }
  uint64_t MaskTail(const uint8_t* p, size_t len) const {
    uint64_t mask = 0;
    size_t i = 0;
    for (; i + 16 <= len; i += 16) mask |= uint64_t{Mask16(p + i)} << i;
    for (; i < len; ++i) mask |= uint64_t{self().One(p[i])} << i;
    return mask;
  }
  // A counter a lane, 252 blocks at most so that none wraps, summed once.
  size_t ChunkCount(const uint8_t* p) const {
    __m128i counts = _mm_setzero_si128();
    for (size_t i = 0; i < kChunk; i += 16) counts = _mm_sub_epi8(counts, self().Hits(p + i));
    const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
    return static_cast<size_t>(_mm_cvtsi128_si32(sums)) +
           static_cast<size_t>(_mm_extract_epi16(sums, 4));
  }

 private:
  const Self& self() const { return static_cast<const Self&>(*this); }
};

// A class of one value: one compare a block.
class OneValue : public Blocks<OneValue> {
 public:
  explicit OneValue(const ByteClass& c) : value_(c.single(0)), splat_(Splat(value_)) {}
  bool One(uint8_t b) const { return b == value_; }
  __m128i Hits(const uint8_t* p) const { return _mm_cmpeq_epi8(Load(p), splat_); }

 private:
  uint8_t value_;
  __m128i splat_;
};

// Any class: a compare for each run of one value and a range compare for
// each wider run, or, past kMaxRuns runs, the bit set byte by byte.
class AnyClass : public Blocks<AnyClass> {
 public:
  explicit AnyClass(const ByteClass& c) : class_(c), by_runs_(c.by_runs()) {
    if (!by_runs_) return;
    singles_ = c.singles();
    ranges_ = c.ranges();
    for (size_t k = 0; k < singles_; ++k) single_[k] = Splat(c.single(k));
    for (size_t k = 0; k < ranges_; ++k) {
      low_[k] = Splat(c.range_low(k));
      span_[k] = Splat(c.range_span(k));
    }
  }
  bool One(uint8_t b) const { return class_.Contains(b); }
  __m128i Hits(const uint8_t* p) const {
    if (!by_runs_) {
      alignas(16) uint8_t hits[16];
      for (int i = 0; i < 16; ++i) hits[i] = class_.Contains(p[i]) ? 0xFF : 0;
      return _mm_load_si128(reinterpret_cast<const __m128i*>(hits));
    }
    const __m128i block = Load(p);
    __m128i hits = _mm_setzero_si128();
    for (size_t k = 0; k < singles_; ++k) hits = _mm_or_si128(hits, _mm_cmpeq_epi8(block, single_[k]));
    for (size_t k = 0; k < ranges_; ++k) hits = _mm_or_si128(hits, InRange(block, low_[k], span_[k]));
    return hits;
  }

 private:
  // Only the runs the class has are filled: a short call would spend more
  // on clearing the arrays than on its scan.
  const ByteClass& class_;
  bool by_runs_;
  size_t singles_ = 0;
  size_t ranges_ = 0;
  __m128i single_[ByteClass::kMaxRuns];
  __m128i low_[ByteClass::kMaxRuns];
  __m128i span_[ByteClass::kMaxRuns];
};

size_t Count(Bytes s, const ByteClass& c) {
  return c.one_value() ? CountBy(s, OneValue(c)) : CountBy(s, AnyClass(c));
}
size_t FindNth(Bytes s, size_t from, const ByteClass& c, size_t n) {
  return c.one_value() ? FindNthBy(s, from, OneValue(c), n) : FindNthBy(s, from, AnyClass(c), n);
}
size_t FindNthLast(Bytes s, size_t end, const ByteClass& c, size_t n) {
  return c.one_value() ? FindNthLastBy(s, end, OneValue(c), n)
                       : FindNthLastBy(s, end, AnyClass(c), n);
}

// The bytes of s after those done in blocks, a byte at a time.
size_t KeepRest(Bytes s, const ByteClass& c, bool keep_members, uint8_t* out) {
  size_t written = 0;
  for (const uint8_t b : s) {
    if (c.Contains(b) == keep_members) out[written++] = b;
  }
  return written;
}

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
      written += static_cast<size_t>(Popcount64(keep));
    }
  }
  return written + KeepRest(s.subspan(i), c, keep_members, out + written);
}

size_t Keep(Bytes s, const ByteClass& c, bool keep_members, MutableBytes out) {
  return c.one_value() ? KeepBy(s, OneValue(c), c, keep_members, out)
                       : KeepBy(s, AnyClass(c), c, keep_members, out);
}

TK_TARGET_END

TK_TARGET_BEGIN("ssse3")

// The number of set bits of each 8-bit mask.
constexpr std::array<uint8_t, 256> kSetBits = [] {
  std::array<uint8_t, 256> bits{};
  for (unsigned mask = 0; mask < 256; ++mask) bits[mask] = static_cast<uint8_t>(std::popcount(mask));
  return bits;
}();

// For each 8-bit mask, the places of its set bits in increasing order, one
// a byte from the lowest, then 0x80 bytes (which a shuffle makes zero).
constexpr std::array<uint64_t, 256> kSetBitPlaces = [] {
  std::array<uint64_t, 256> places{};
  for (unsigned mask = 0; mask < 256; ++mask) {
    uint64_t packed = 0x8080808080808080u;
    unsigned n = 0;
    for (unsigned bit = 0; bit < 8; ++bit) {
      if ((mask >> bit & 1u) == 0) continue;
      packed &= ~(uint64_t{0xFF} << (8 * n));
      packed |= uint64_t{bit} << (8 * n++);
    }
    places[mask] = packed;
  }
  return places;
}();

// With no branch to mispredict, every block is two halves of 8, each
// shuffled to its kept bytes by the places of the set bits of its 8-bit
// mask, and stored as 8 bytes after the last kept byte, while 16 bytes of
// out remain.
template <typename M>
size_t KeepByShuffles(Bytes s, const M& m, const ByteClass& c, bool keep_members,
                      MutableBytes out_bytes) {
  const uint8_t* in = s.data();
  uint8_t* out = out_bytes.data();
  const uint32_t flip = keep_members ? 0u : 0xFFFFu;
  const __m128i high_half = _mm_set_epi64x(0x0808080808080808, 0);
  size_t written = 0;
  size_t i = 0;
  for (; i + 16 <= s.size() && written + 16 <= out_bytes.size(); i += 16) {
    const uint32_t keep = m.Mask16(in + i) ^ flip;
    const __m128i places = _mm_set_epi64x(static_cast<int64_t>(kSetBitPlaces[keep >> 8]),
                                          static_cast<int64_t>(kSetBitPlaces[keep & 0xFFu]));
    const __m128i kept = _mm_shuffle_epi8(Load(in + i), _mm_add_epi8(places, high_half));
    const size_t low_count = kSetBits[keep & 0xFFu];
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + written), kept);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + written + low_count),
                     _mm_unpackhi_epi64(kept, kept));
    written += low_count + kSetBits[keep >> 8];
  }
  return written + KeepRest(s.subspan(i), c, keep_members, out + written);
}

size_t KeepSsse3(Bytes s, const ByteClass& c, bool keep_members, MutableBytes out) {
  return c.one_value() ? KeepByShuffles(s, OneValue(c), c, keep_members, out)
                       : KeepByShuffles(s, AnyClass(c), c, keep_members, out);
}

TK_TARGET_END

}  // namespace

const ScanKernels kSse2Scans = {Count, FindNth, FindNthLast, Keep};
const ScanKernels kSsse3Scans = {Count, FindNth, FindNthLast, KeepSsse3};

}  // namespace twinekit::kernels

#endif  // TK_X86_KERNELS
