// Byte maps 16 bytes at a time with SSE2: a map of few changed values by
// compares.  SSE2 has no shuffle by a vector of indexes, and SSSE3's
// 16-byte shuffles of a table's rows (the AVX2 form's scheme) measure
// slower than the table loop, so both forms read a table a byte at a time.
//
// A text of 16 bytes or more is mapped in whole blocks and then its last
// 16 bytes, loaded before any store, so that no load or store passes the
// text's end and a map in place never maps a byte twice.
#include "frame/kernels/kernel_table.h"

#ifdef TK_X86_KERNELS

#include <emmintrin.h>

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
  // Padded to a multiple of four with pairs of 0 to 0, which flip
  // nothing, so that the compares run four at a time.
  FewChanges(Bytes from, const uint8_t* to) : count_((from.size() + 3) / 4 * 4) {
    for (size_t k = 0; k < count_; ++k) {
      const bool given = k < from.size();
      from_[k] = Splat(given ? from[k] : 0);
      delta_[k] = Splat(given ? static_cast<uint8_t>(from[k] ^ to[k]) : 0);
    }
  }

  __m128i Map(__m128i x) const {
    __m128i flips = _mm_setzero_si128();
    for (size_t k = 0; k < count_; k += 4) {
      const __m128i a = _mm_xor_si128(Flip(x, k), Flip(x, k + 1));
      const __m128i b = _mm_xor_si128(Flip(x, k + 2), Flip(x, k + 3));
      flips = _mm_xor_si128(flips, _mm_xor_si128(a, b));
    }
    return _mm_xor_si128(x, flips);
  }

 private:
  // from ^ to in the lanes of x that hold from_[k], 0 elsewhere.
  __m128i Flip(__m128i x, size_t k) const {
    return _mm_and_si128(_mm_cmpeq_epi8(x, from_[k]), delta_[k]);
  }

  size_t count_;
  __m128i from_[kMaxFewChanges];
  __m128i delta_[kMaxFewChanges];
};

// A text shorter than a block is mapped in a copy of a block's size.
void Few(Bytes in, uint8_t* out, Bytes from, const uint8_t* to) {
  if (in.empty()) return;
  const FewChanges changes(from, to);
  if (in.size() >= 16) return MapBlocks(in, out, changes);
  uint8_t block[16] = {};
  std::memcpy(block, in.data(), in.size());
  Store(block, changes.Map(Load(block)));
  std::memcpy(out, block, in.size());
}

void TableSse2(Bytes in, uint8_t* out, const ByteTable& table) { kPlainMaps.table(in, out, table); }

TK_TARGET_END

}  // namespace

const MapKernels kSse2Maps = {TableSse2, Few, 12};

}  // namespace twinekit::kernels

#endif  // TK_X86_KERNELS
