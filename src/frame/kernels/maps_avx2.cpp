// Byte maps 32 bytes at a time with AVX2: the few-values map by compares,
// as the SSE2 form does it (maps_sse2.cpp), and the map through a table by
// shuffles of the table's rows.  Short texts go to the SSE2 form (few
// values) or the table loop.
#include "frame/kernels/kernel_table.h"

#ifdef TK_X86_KERNELS

#include <immintrin.h>

#include "frame/kernels/form_target.h"

namespace twinekit::kernels {
namespace {

TK_TARGET_BEGIN("avx2")

inline __m256i Load(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
inline void Store(uint8_t* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
inline __m256i Splat(uint8_t b) { return _mm256_set1_epi8(static_cast<char>(b)); }

// in.size() is at least 32: whole blocks, then the last 32 bytes, loaded
// before any store.
template <typename Map>
void MapBlocks(Bytes in, uint8_t* out, const Map& map) {
  const size_t n = in.size();
  const __m256i last = Load(in.data() + n - 32);
  for (size_t i = 0; i + 32 < n; i += 32) Store(out + i, map.Map(Load(in.data() + i)));
  Store(out + n - 32, map.Map(last));
}

class FewChanges {
 public:
  // Padded to a multiple of four with pairs of 0 to 0, which flip
  // nothing, so that the compares run four at a time.
  FewChanges(Bytes from, const uint8_t* to) : count_((from.size() + 3) / 4 * 4) {
    for (size_t k = 0; k < count_; ++k) {
      const bool given = k < from.size();
      from_[k] = Splat(given ? from[k] : 0);
      delta_[k] = Splat(given ? static_cast<uint8_t>(from[k] ^ to[k]) : 0);
    }
  }

  __m256i Map(__m256i x) const {
    __m256i flips = _mm256_setzero_si256();
    for (size_t k = 0; k < count_; k += 4) {
      const __m256i a = _mm256_xor_si256(Flip(x, k), Flip(x, k + 1));
      const __m256i b = _mm256_xor_si256(Flip(x, k + 2), Flip(x, k + 3));
      flips = _mm256_xor_si256(flips, _mm256_xor_si256(a, b));
    }
    return _mm256_xor_si256(x, flips);
  }

 private:
  // from ^ to in the lanes of x that hold from_[k], 0 elsewhere.
  __m256i Flip(__m256i x, size_t k) const {
    return _mm256_and_si256(_mm256_cmpeq_epi8(x, from_[k]), delta_[k]);
  }

  size_t count_;
  __m256i from_[kMaxFewChanges];
  __m256i delta_[kMaxFewChanges];
};

// A table of 256 values as 16 rows of 16, one for each high half-byte h;
// a shuffle by the low half-byte reads a row (the same row in both halves
// of the vector), and gives 0 in a lane whose index has its top bit set.
// Row h is read with the index x - 16h, saturated as a signed byte: for x
// in [0, 127] it is x's low half-byte with the top bit clear when h is at
// most x's high half-byte, and negative otherwise; for a negative x it
// stays negative.  So the rows read for x are 0 up to its high half-byte,
// and holding each row xor the one before, their xor is x's own row.  The
// values 128 to 255 go the same way with x - 128 through the upper eight
// rows.  16 shuffles, 16 xors and 14 subtractions map 32 bytes.
class NibbleTable {
 public:
  explicit NibbleTable(const ByteTable& table) {
    for (size_t half = 0; half < 2; ++half) {
      __m128i before = _mm_setzero_si128();
      for (size_t h = 0; h < 8; ++h) {
        const __m128i row =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(table.data() + 128 * half + 16 * h));
        rows_[half][h] = _mm256_broadcastsi128_si256(_mm_xor_si128(row, before));
        before = row;
      }
    }
  }

  __m256i Map(__m256i x) const {
    const __m256i step = Splat(16);
    __m256i low_index = x;
    __m256i high_index = _mm256_xor_si256(x, Splat(0x80));
    __m256i low = _mm256_shuffle_epi8(rows_[0][0], low_index);
    __m256i high = _mm256_shuffle_epi8(rows_[1][0], high_index);
    for (size_t h = 1; h < 8; ++h) {
      low_index = _mm256_subs_epi8(low_index, step);
      high_index = _mm256_subs_epi8(high_index, step);
      low = _mm256_xor_si256(low, _mm256_shuffle_epi8(rows_[0][h], low_index));
      high = _mm256_xor_si256(high, _mm256_shuffle_epi8(rows_[1][h], high_index));
    }
    return _mm256_xor_si256(low, high);
  }

 private:
  __m256i rows_[2][8];
};

void Few(Bytes in, uint8_t* out, Bytes from, const uint8_t* to) {
  if (in.size() < 32) return kSse2Maps.few(in, out, from, to);
  MapBlocks(in, out, FewChanges(from, to));
}

void Table(Bytes in, uint8_t* out, const ByteTable& table) {
  // Below 64 bytes the table loop is faster than loading the rows.
  if (in.size() < 64) return kPlainMaps.table(in, out, table);
  MapBlocks(in, out, NibbleTable(table));
}

TK_TARGET_END

}  // namespace

const MapKernels kAvx2Maps = {Table, Few, 12};

}  // namespace twinekit::kernels

#endif  // TK_X86_KERNELS
