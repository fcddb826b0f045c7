// Byte maps 32 bytes at a time with AVX2: the few-values map by compares
// and the table map by shuffles of the table's rows, each the 16-byte
// form's scheme (maps_sse2.cpp) on both halves of a 32-byte vector.
// Texts shorter than 32 bytes go to the 16-byte forms.
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
  FewChanges(Bytes from, const uint8_t* to) : count_(from.size()) {
    for (size_t k = 0; k < count_; ++k) {
      from_[k] = Splat(from[k]);
      delta_[k] = Splat(static_cast<uint8_t>(from[k] ^ to[k]));
    }
  }

  __m256i Map(__m256i x) const {
    __m256i flips = _mm256_setzero_si256();
    for (size_t k = 0; k < count_; ++k) {
      flips = _mm256_xor_si256(flips, _mm256_and_si256(_mm256_cmpeq_epi8(x, from_[k]), delta_[k]));
    }
    return _mm256_xor_si256(x, flips);
  }

 private:
  size_t count_;
  __m256i from_[kMaxFewChanges];
  __m256i delta_[kMaxFewChanges];
};

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
  if (in.size() < 64) return kSsse3Maps.table(in, out, table);
  MapBlocks(in, out, NibbleTable(table));
}

TK_TARGET_END

}  // namespace

const MapKernels kAvx2Maps = {Table, Few, 8};

}  // namespace twinekit::kernels

#endif  // TK_X86_KERNELS
