// The operations on blocks of 32 bytes that the AVX2 forms share.  Included
// inside a form file's TK_TARGET_BEGIN region and anonymous namespace,
// after <immintrin.h>.

inline __m256i Load(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
inline void Store(uint8_t* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
inline __m256i Splat(int b) { return _mm256_set1_epi8(static_cast<char>(b)); }

// 0xFF in the lanes of block whose byte b lies in [low, low + span] (each
// lane of low and span alike): (b - low), unsigned, is at most span, so
// min(b - low, span) equals b - low exactly then.
inline __m256i InRange(__m256i block, __m256i low, __m256i span) {
  const __m256i offset = _mm256_sub_epi8(block, low);
  return _mm256_cmpeq_epi8(_mm256_min_epu8(offset, span), offset);
}

// The same for the constants first to last.
inline __m256i InRange(__m256i block, uint8_t first, uint8_t last) {
  return InRange(block, Splat(first), Splat(last - first));
}
