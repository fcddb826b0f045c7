#include "names/passes.h"

#include "frame/byte_scan.h"
#include "frame/chars.h"

namespace twinekit::names {

// Whether a byte is a capital depends only on whether the byte before it
// is a blank (or a punctuation mark): classes that changing case never
// changes.  So the bytes before a block of 16 may be read as they stand,
// changed or not, and each block is decided at once.
void Capitalise(uint8_t* work, size_t n, bool capital_after_punct) {
  size_t p = 1;
#ifdef __SSE2__
  using scan::InRange16;
  const __m128i after_punct = capital_after_punct ? _mm_set1_epi8(-1) : _mm_setzero_si128();
  for (; p + 16 <= n + 1; p += 16) {
    const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(work + p - 1));
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(work + p));
    const __m128i punct = _mm_or_si128(
        _mm_or_si128(InRange16(before, 0x21, 0x2F), InRange16(before, 0x3A, 0x40)),
        _mm_or_si128(InRange16(before, 0x5B, 0x60), InRange16(before, 0x7B, 0x7E)));
    const __m128i starts = _mm_or_si128(_mm_cmpeq_epi8(before, _mm_set1_epi8(' ')),
                                        _mm_and_si128(after_punct, punct));
    // Case changes by flipping bit 5: of a small letter starting a word,
    // of a capital inside one.
    const __m128i flip =
        _mm_or_si128(_mm_and_si128(starts, InRange16(block, 'a', 'z')),
                     _mm_andnot_si128(starts, InRange16(block, 'A', 'Z')));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(work + p),
                     _mm_xor_si128(block, _mm_and_si128(flip, _mm_set1_epi8(0x20))));
  }
#endif
  for (; p <= n; ++p) {
    const uint8_t prev = work[p - 1];
    const bool starts_word = prev == ' ' || (capital_after_punct && IsPunct(prev));
    work[p] = starts_word ? ToUpper(work[p]) : ToLower(work[p]);
  }
}

// Working-copy position p stands for text byte p - 1; position n + 1 is the
// terminating zero byte, which no run reaches.
void RestoreMarks(uint8_t* work, Bytes txt, bool keep_exception_case) {
  const size_t n = txt.size();
  auto text_at = [&](size_t p) { return txt[p - 1]; };
  for (size_t p = 1; p <= n; ++p) {
    if (work[p] == kWholeWordMark) {
      for (;;) {
        work[p] = keep_exception_case ? text_at(p) : ToLower(text_at(p));
        if (p == n || work[p + 1] != kWholeWordMark) break;
        ++p;
      }
    }
    // The byte that ended a "?" run may itself open a "!" run.
    if (work[p] == kPrefixMark) {
      work[p] = ToUpper(text_at(p));
      while (p < n && work[p + 1] == kPrefixMark) {
        ++p;
        work[p] = ToLower(text_at(p));
      }
      // The byte after the run is a capital whatever it was; it is not
      // looked at again.
      if (p < n) {
        ++p;
        work[p] = ToUpper(text_at(p));
      }
    }
  }
}

}  // namespace twinekit::names
