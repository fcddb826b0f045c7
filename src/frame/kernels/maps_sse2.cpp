// Byte maps 16 bytes at a time with SSE2: a map of few changed values by
// compares.  SSE2 has no shuffle by a vector of indexes, and SSSE3's
// 16-byte shuffles of a table's rows (the AVX2 form's scheme) measure
// slower than the table loop, so both forms read a table a byte at a time.
#include "frame/byte_map.h"
#include "frame/kernels/kernel_table.h"

#ifdef TK_X86_KERNELS

#include <emmintrin.h>

#include <cstring>

#include "frame/kernels/form_target.h"

namespace twinekit::kernels {
namespace {

TK_TARGET_BEGIN("sse2")

#include "frame/kernels/sse2_blocks.inl"

using Vec = __m128i;
inline constexpr size_t kWidth = 16;
inline Vec Zero() { return _mm_setzero_si128(); }
inline Vec Xor(Vec a, Vec b) { return _mm_xor_si128(a, b); }
inline Vec And(Vec a, Vec b) { return _mm_and_si128(a, b); }
inline Vec Equal(Vec a, Vec b) { return _mm_cmpeq_epi8(a, b); }

#include "frame/kernels/map_blocks.inl"

// A text shorter than a block is mapped in a copy of a block's size.
void Few(Bytes in, uint8_t* out, Bytes from, const uint8_t* to) {
  if (in.empty()) return;
  const FewChanges changes(from, to);
  if (in.size() >= kWidth) return MapBlocks(in, out, changes);
  uint8_t block[kWidth] = {};
  std::memcpy(block, in.data(), in.size());
  Store(block, changes.Map(Load(block)));
  std::memcpy(out, block, in.size());
}

void TableSse2(Bytes in, uint8_t* out, const ByteTable& table) {
  MapEachByte(in, MutableBytes(out, in.size()), [&](uint8_t b) { return table[b]; });
}

TK_TARGET_END

}  // namespace

const MapKernels kSse2Maps = {TableSse2, Few, 12};

}  // namespace twinekit::kernels

#endif  // TK_X86_KERNELS
