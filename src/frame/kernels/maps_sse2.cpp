// Byte maps 16 bytes at a time: a map of few changed values by compares
// with SSE2, and a map through any table by SSSE3's byte shuffles.
//
// A text of 16 bytes or more is mapped in whole blocks and then its last
// 16 bytes, loaded before any store, so that no load or store passes the
// text's end and a map in place never maps a byte twice.
#include "frame/kernels/kernel_table.h"

#ifdef TK_X86_KERNELS

#include <emmintrin.h>
#include <tmmintrin.h>

#include <cstring>

#include "frame/kernels/form_target.h"

namespace twinekit::kernels {
namespace {

TK_TARGET_BEGIN("sse2")

inline __m128i Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store(uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
inline __m128i Splat(uint8_t b) { return _mm_set1_epi8(static_cast<char>(b)); }

// in.size() is at least 16: out[i, i + 16) = map.Map(in[i, i + 16)).
template <typename Map>
void MapBlocks(Bytes in, uint8_t* out, const Map& map) {
  const size_t n = in.size();
  const __m128i last = Load(in.data() + n - 16);
  for (size_t i = 0; i + 16 < n; i += 16) Store(out + i, map.Map(Load(in.data() + i)));
  Store(out + n - 16, map.Map(last));
}

// A byte equals at most one from value, so the map is the byte xor the
// (from ^ to) of the value it equals: one compare, and and xor a value.
class FewChanges {
 public:
  FewChanges(Bytes from, const uint8_t* to) : count_(from.size()) {
    for (size_t k = 0; k < count_; ++k) {
      from_[k] = Splat(from[k]);
      delta_[k] = Splat(static_cast<uint8_t>(from[k] ^ to[k]));
    }
  }

  __m128i Map(__m128i x) const {
    __m128i flips = _mm_setzero_si128();
    for (size_t k = 0; k < count_; ++k) {
      flips = _mm_xor_si128(flips, _mm_and_si128(_mm_cmpeq_epi8(x, from_[k]), delta_[k]));
    }
    return _mm_xor_si128(x, flips);
  }

 private:
  size_t count_;
  __m128i from_[kMaxFewChanges];
  __m128i delta_[kMaxFewChanges];
};

// A text shorter than a block is mapped in a copy of a block's size.
void Few(Bytes in, uint8_t* out, Bytes from, const uint8_t* to) {
  const FewChanges changes(from, to);
  if (in.size() >= 16) return MapBlocks(in, out, changes);
  uint8_t block[16] = {};
  if (in.empty()) return;
  std::memcpy(block, in.data(), in.size());
  Store(block, changes.Map(Load(block)));
  std::memcpy(out, block, in.size());
}

// SSE2 has no shuffle by a vector of indexes: the table is read a byte at
// a time.
void TableSse2(Bytes in, uint8_t* out, const ByteTable& table) { kPlainMaps.table(in, out, table); }

TK_TARGET_END

TK_TARGET_BEGIN("ssse3")

// Below this length the table loop is faster than loading the rows.
constexpr size_t kShortestVectorTableMap = 32;

// A table of 256 values as 16 rows of 16, one for each high half-byte h;
// a shuffle by the low half-byte reads a row, and gives 0 in a lane whose
// index has its top bit set.  Row h is read with the index x - 16h,
// saturated as a signed byte: for x in [0, 127] it is x's low half-byte
// with the top bit clear when h is at most x's high half-byte, and
// negative otherwise; for a negative x it stays negative.  So the rows
// read for x are 0 up to its high half-byte, and holding each row xor the
// one before, their xor is x's own row.  The values 128 to 255 go the same
// way with x - 128 through the upper eight rows.
class NibbleTable {
 public:
  explicit NibbleTable(const ByteTable& table) {
    for (size_t half = 0; half < 2; ++half) {
      __m128i before = _mm_setzero_si128();
      for (size_t h = 0; h < 8; ++h) {
        const __m128i row = Load(table.data() + 128 * half + 16 * h);
        rows_[half][h] = _mm_xor_si128(row, before);
        before = row;
      }
    }
  }

  __m128i Map(__m128i x) const {
    const __m128i step = Splat(16);
    __m128i low_index = x;
    __m128i high_index = _mm_xor_si128(x, Splat(0x80));
    __m128i low = _mm_shuffle_epi8(rows_[0][0], low_index);
    __m128i high = _mm_shuffle_epi8(rows_[1][0], high_index);
    for (size_t h = 1; h < 8; ++h) {
      low_index = _mm_subs_epi8(low_index, step);
      high_index = _mm_subs_epi8(high_index, step);
      low = _mm_xor_si128(low, _mm_shuffle_epi8(rows_[0][h], low_index));
      high = _mm_xor_si128(high, _mm_shuffle_epi8(rows_[1][h], high_index));
    }
    return _mm_xor_si128(low, high);
  }

 private:
  __m128i rows_[2][8];
};

void TableSsse3(Bytes in, uint8_t* out, const ByteTable& table) {
  if (in.size() < kShortestVectorTableMap) return kPlainMaps.table(in, out, table);
  MapBlocks(in, out, NibbleTable(table));
}

TK_TARGET_END

}  // namespace

const MapKernels kSse2Maps = {TableSse2, Few, 4};
const MapKernels kSsse3Maps = {TableSsse3, Few, 4};

}  // namespace twinekit::kernels

#endif  // TK_X86_KERNELS
