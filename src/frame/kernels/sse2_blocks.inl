// The operations on blocks of 16 bytes that the SSE2 forms share.  Included
// inside a form file's TK_TARGET_BEGIN region and anonymous namespace,
// after <emmintrin.h>.

inline __m128i Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store(uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
inline __m128i Splat(int b) { return _mm_set1_epi8(static_cast<char>(b)); }

// 0xFF in the lanes of block whose byte b lies in [low, low + span] (each
// lane of low and span alike): (b - low), unsigned, is at most span, so
// min(b - low, span) equals b - low exactly then.
inline __m128i InRange(__m128i block, __m128i low, __m128i span) {
  const __m128i offset = _mm_sub_epi8(block, low);
  return _mm_cmpeq_epi8(_mm_min_epu8(offset, span), offset);
}

// The same for the constants first to last.
inline __m128i InRange(__m128i block, uint8_t first, uint8_t last) {
  return InRange(block, Splat(first), Splat(last - first));
}
