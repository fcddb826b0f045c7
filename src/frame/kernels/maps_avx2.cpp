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

using Vec = __m256i;
inline constexpr size_t kWidth = 32;
inline Vec Load(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const Vec*>(p)); }
inline void Store(uint8_t* p, Vec v) { _mm256_storeu_si256(reinterpret_cast<Vec*>(p), v); }
inline Vec Splat(uint8_t b) { return _mm256_set1_epi8(static_cast<char>(b)); }
inline Vec Zero() { return _mm256_setzero_si256(); }
inline Vec Xor(Vec a, Vec b) { return _mm256_xor_si256(a, b); }
inline Vec And(Vec a, Vec b) { return _mm256_and_si256(a, b); }
inline Vec Equal(Vec a, Vec b) { return _mm256_cmpeq_epi8(a, b); }

#include "frame/kernels/map_blocks.inl"

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

  Vec Map(Vec x) const {
    const Vec step = Splat(16);
    Vec low_index = x;
    Vec high_index = Xor(x, Splat(0x80));
    Vec low = _mm256_shuffle_epi8(rows_[0][0], low_index);
    Vec high = _mm256_shuffle_epi8(rows_[1][0], high_index);
    for (size_t h = 1; h < 8; ++h) {
      low_index = _mm256_subs_epi8(low_index, step);
      high_index = _mm256_subs_epi8(high_index, step);
      low = Xor(low, _mm256_shuffle_epi8(rows_[0][h], low_index));
      high = Xor(high, _mm256_shuffle_epi8(rows_[1][h], high_index));
    }
    return Xor(low, high);
  }

 private:
  Vec rows_[2][8];
};

void Few(Bytes in, uint8_t* out, Bytes from, const uint8_t* to) {
  if (in.size() < kWidth) return kSse2Maps.few(in, out, from, to);
  MapBlocks(in, out, FewChanges(from, to));
}

void Table(Bytes in, uint8_t* out, const ByteTable& table) {
  // Below 64 bytes the table loop is faster than loading the rows (and,
  // compiled here, the loop would become slow gathers).
  if (in.size() < 64) return kPlainMaps.table(in, out, table);
  MapBlocks(in, out, NibbleTable(table));
}

TK_TARGET_END

}  // namespace

const MapKernels kAvx2Maps = {Table, Few, 12};

}  // namespace twinekit::kernels

#endif  // TK_X86_KERNELS
