#include "positions/positions.h"

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "frame/result.h"

namespace twinekit::positions {
namespace {

// True when 1 <= position <= n, compared without narrowing either side.
bool IsPosition(int64_t position, size_t n) {
  return position >= 1 && static_cast<uint64_t>(position) <= n;
}

// txt's bytes in reverse order into out (room for txt.size()): each block
// of 16 from the front of txt reversed within a register and stored at the
// back of out, the bytes left in the middle one by one.
void ReverseInto(Bytes txt, uint8_t* out) {
  size_t i = 0;
  const size_t n = txt.size();
#ifdef __SSE2__
  for (; i + 16 <= n; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(txt.data() + i));
    v = _mm_shuffle_epi32(v, _MM_SHUFFLE(0, 1, 2, 3));        // the four 32-bit lanes
    v = _mm_shufflelo_epi16(v, _MM_SHUFFLE(2, 3, 0, 1));      // the 16-bit halves of each
    v = _mm_shufflehi_epi16(v, _MM_SHUFFLE(2, 3, 0, 1));
    v = _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8));  // the bytes of each half
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + n - i - 16), v);
  }
#endif
  for (; i < n; ++i) out[n - 1 - i] = txt[i];
}

}  // namespace

BSTR OneCharFromLeft(Bytes txt, int32_t position) {
  if (!IsPosition(position, txt.size())) return EmptyResult();
  return ResultFromRun(txt.subspan(static_cast<size_t>(position) - 1, 1));
}

BSTR OneCharFromRight(Bytes txt, int32_t position) {
  if (!IsPosition(position, txt.size())) return EmptyResult();
  return ResultFromRun(txt.subspan(txt.size() - static_cast<size_t>(position), 1));
}

// A Count of 0 and a Count equal to n both give the empty result.
BSTR DropFromRight(Bytes txt, int32_t count) {
  if (count < 1 || static_cast<uint64_t>(count) >= txt.size()) return EmptyResult();
  return ResultFromRun(txt.first(txt.size() - static_cast<size_t>(count)));
}

BSTR DropFromLeft(Bytes txt, int32_t count) {
  if (count < 1 || static_cast<uint64_t>(count) >= txt.size()) return EmptyResult();
  return ResultFromRun(txt.subspan(static_cast<size_t>(count)));
}

BSTR RotateLeft(Bytes txt) {
  if (txt.size() <= 1) return CopyOfText(txt);
  return BuildWholeResult(txt.size(), [&](MutableBytes out) {
    std::memcpy(out.data(), txt.data() + 1, txt.size() - 1);
    out[txt.size() - 1] = txt[0];
  });
}

BSTR RotateRight(Bytes txt) {
  if (txt.size() <= 1) return CopyOfText(txt);
  return BuildWholeResult(txt.size(), [&](MutableBytes out) {
    out[0] = txt.back();
    std::memcpy(out.data() + 1, txt.data(), txt.size() - 1);
  });
}

BSTR Reverse(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  return BuildWholeResult(txt.size(), [&](MutableBytes out) { ReverseInto(txt, out.data()); });
}

BSTR GetBlock(Bytes txt, int32_t block_number, int32_t block_size) {
  if (txt.empty() || block_number < 1 || block_size < 1) return EmptyResult();
  // At most (2^31 - 2) × (2^31 - 1): fits in 64 bits.
  const uint64_t start = uint64_t(block_number - 1) * uint64_t(block_size);
  if (start >= txt.size()) return EmptyResult();
  const uint64_t length = std::min<uint64_t>(uint64_t(block_size), txt.size() - start);
  return ResultFromRun(txt.subspan(static_cast<size_t>(start), static_cast<size_t>(length)));
}

}  // namespace twinekit::positions
