// The scans 32 bytes at a time with AVX2; a window's last 16 to 31 bytes
// go as one block of 16.
#include "frame/kernels/kernel_table.h"

#ifdef TK_X86_KERNELS

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "frame/kernels/form_target.h"

namespace twinekit::kernels {
namespace {

TK_TARGET_BEGIN("avx2,popcnt,bmi,bmi2")

#include "frame/kernels/scan_windows.inl"

#include "frame/kernels/avx2_blocks.inl"

inline __m128i Load16(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline __m128i Low(__m256i v) { return _mm256_castsi256_si128(v); }

// InRange on the 16 bytes of a block's low half.
inline __m128i InRange(__m128i block, __m128i low, __m128i span) {
  const __m128i offset = _mm_sub_epi8(block, low);
  return _mm_cmpeq_epi8(_mm_min_epu8(offset, span), offset);
}

// What every matcher shares: masks and bulk counts from Hits(block), 0xFF
// lanes for the members of a block of 32 or of 16 bytes.
template <typename Self>
class Blocks {
 public:
  // POPCNT, which this form asks of the CPU; the forms below it count
  // by words::CountOfBits.
  static int Popcount(uint64_t x) { return __builtin_popcountll(x); }

  uint32_t Mask32(const uint8_t* p) const {
    return static_cast<uint32_t>(_mm256_movemask_epi8(self().Hits(Load(p))));
  }
  uint32_t Mask16(const uint8_t* p) const {
    return static_cast<uint32_t>(_mm_movemask_epi8(self().Hits(Load16(p))));
  }
  uint64_t Mask64(const uint8_t* p) const { return uint64_t{Mask32(p)} | uint64_t{Mask32(p + 32)} << 32; }
  uint64_t MaskTail(const uint8_t* p, size_t len) const {
    uint64_t mask = 0;
    size_t i = 0;
    if (len >= 32) {
      mask = Mask32(p);
      i = 32;
    }
    if (i + 16 <= len) {
      mask |= uint64_t{Mask16(p + i)} << i;
      i += 16;
    }
    for (; i < len; ++i) mask |= uint64_t{self().One(p[i])} << i;
    return mask;
  }
  // A counter a lane, 126 blocks, so that none wraps, summed once.
  size_t ChunkCount(const uint8_t* p) const {
    __m256i counts = _mm256_setzero_si256();
    for (size_t i = 0; i < kChunk; i += 32) counts = _mm256_sub_epi8(counts, self().Hits(Load(p + i)));
    const __m256i sums = _mm256_sad_epu8(counts, _mm256_setzero_si256());
    const __m128i pairs = _mm_add_epi64(Low(sums), _mm256_extracti128_si256(sums, 1));
    return static_cast<size_t>(_mm_cvtsi128_si32(pairs)) + static_cast<size_t>(_mm_extract_epi16(pairs, 4));
  }

 private:
  const Self& self() const { return static_cast<const Self&>(*this); }
};

// A class of one value: one compare a block.
class OneValue : public Blocks<OneValue> {
 public:
  explicit OneValue(const ByteClass& c) : value_(c.single(0)), splat_(Splat(value_)) {}
  bool One(uint8_t b) const { return b == value_; }
  __m256i Hits(__m256i block) const { return _mm256_cmpeq_epi8(block, splat_); }
  __m128i Hits(__m128i block) const { return _mm_cmpeq_epi8(block, Low(splat_)); }

 private:
  uint8_t value_;
  __m256i splat_;
};

// A class of at most kMaxRuns runs: a compare for each run of one value
// and a range compare for each wider run.
class ByRuns : public Blocks<ByRuns> {
 public:
  explicit ByRuns(const ByteClass& c) : class_(c), singles_(c.singles()), ranges_(c.ranges()) {
    for (size_t k = 0; k < singles_; ++k) single_[k] = Splat(c.single(k));
    for (size_t k = 0; k < ranges_; ++k) {
      low_[k] = Splat(c.range_low(k));
      span_[k] = Splat(c.range_span(k));
    }
  }
  bool One(uint8_t b) const { return class_.Contains(b); }
  __m256i Hits(__m256i block) const {
    __m256i hits = _mm256_setzero_si256();
    for (size_t k = 0; k < singles_; ++k) hits = _mm256_or_si256(hits, _mm256_cmpeq_epi8(block, single_[k]));
    for (size_t k = 0; k < ranges_; ++k) hits = _mm256_or_si256(hits, InRange(block, low_[k], span_[k]));
    return hits;
  }
  __m128i Hits(__m128i block) const {
    __m128i hits = _mm_setzero_si128();
    for (size_t k = 0; k < singles_; ++k) hits = _mm_or_si128(hits, _mm_cmpeq_epi8(block, Low(single_[k])));
    for (size_t k = 0; k < ranges_; ++k) hits = _mm_or_si128(hits, InRange(block, Low(low_[k]), Low(span_[k])));
    return hits;
  }

 private:
  // Only the runs the class has are filled: a short call would spend more
  // on clearing the arrays than on its scan.
  const ByteClass& class_;
  size_t singles_;
  size_t ranges_;
  __m256i single_[ByteClass::kMaxRuns];
  __m256i low_[ByteClass::kMaxRuns];
  __m256i span_[ByteClass::kMaxRuns];
};

// A class of more than kMaxRuns runs by its rows (ByteClass::nibble_rows),
// in both 128-bit lanes, as the SSSE3 form does: the row of a byte's low
// half from the table of its top bit (a shuffle gives zero where the index
// has bit 7 set), tested at the bit of the high half's other three bits.
class BySet : public Blocks<BySet> {
 public:
  explicit BySet(const ByteClass& c)
      : class_(c),
        low_rows_(_mm256_broadcastsi128_si256(Load16(c.nibble_rows().data()))),
        high_rows_(_mm256_broadcastsi128_si256(Load16(c.nibble_rows().data() + 16))),
        bit_of_high_(_mm256_set1_epi64x(static_cast<int64_t>(0x8040201008040201u))) {}
  bool One(uint8_t b) const { return class_.Contains(b); }
  __m256i Hits(__m256i block) const {
    const __m256i row = _mm256_or_si256(_mm256_shuffle_epi8(low_rows_, block),
                                        _mm256_shuffle_epi8(high_rows_, _mm256_xor_si256(block, Splat(0x80))));
    const __m256i high = _mm256_and_si256(_mm256_srli_epi16(block, 4), Splat(0x0F));
    const __m256i bit = _mm256_shuffle_epi8(bit_of_high_, high);
    return _mm256_cmpeq_epi8(_mm256_and_si256(row, bit), bit);
  }
  __m128i Hits(__m128i block) const {
    const __m128i row = _mm_or_si128(_mm_shuffle_epi8(Low(low_rows_), block),
                                     _mm_shuffle_epi8(Low(high_rows_), _mm_xor_si128(block, Low(Splat(0x80)))));
    const __m128i high = _mm_and_si128(_mm_srli_epi16(block, 4), Low(Splat(0x0F)));
    const __m128i bit = _mm_shuffle_epi8(Low(bit_of_high_), high);
    return _mm_cmpeq_epi8(_mm_and_si128(row, bit), bit);
  }

 private:
  const ByteClass& class_;
  __m256i low_rows_;
  __m256i high_rows_;
  __m256i bit_of_high_;
};

#include "frame/kernels/keep_shuffles.inl"
#include "frame/kernels/scan_entries.inl"

TK_TARGET_END

}  // namespace

const ScanKernels kAvx2Scans = {Count, FindNth, FindNthLast, Keep};

}  // namespace twinekit::kernels

#endif  // TK_X86_KERNELS
