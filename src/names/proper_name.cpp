#include "names/proper_name.h"

#include <cstring>

#include "frame/byte_map.h"
#include "frame/byte_scan.h"
#include "frame/chars.h"
#include "frame/result.h"
#include "frame/scratch.h"
#include "frame/size_math.h"
#include "names/passes.h"

namespace twinekit::names {

// Nothing is lowered: only a byte at the start or after a blank changes.
BSTR ProperName(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  return BuildWholeResult(txt.size(), [&](MutableBytes out) {
    out[0] = ToUpper(txt[0]);
    size_t i = 1;
#ifdef __SSE2__
    // Sixteen at a time: bit 5 off for a small letter after a blank.
    for (; i + 16 <= txt.size(); i += 16) {
      const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(txt.data() + i - 1));
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(txt.data() + i));
      const __m128i raise = _mm_and_si128(_mm_cmpeq_epi8(before, _mm_set1_epi8(' ')),
                                          scan::InRange16(block, 'a', 'z'));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out.data() + i),
                       _mm_xor_si128(block, _mm_and_si128(raise, _mm_set1_epi8(0x20))));
    }
#endif
    for (; i < txt.size(); ++i) out[i] = txt[i - 1] == ' ' ? ToUpper(txt[i]) : txt[i];
  });
}

BSTR ProperName2(Bytes txt, Bytes exceptions, int16_t option_bits) {
  if (txt.empty()) return EmptyResult();
  const NameOptions options = NameOptions::FromBits(option_bits);
  const size_t n = txt.size();

  // The working copy: a blank, so that the first word is preceded by one
  // like every other, the text, and a zero byte that ends the searches.
  const auto copy_size = CheckedSize(uint64_t{n} + 2);
  if (!copy_size) return EmptyResult();
  ScratchBuffer copy(*copy_size, ScratchBuffer::kStringAllocator);
  if (!copy.ok()) return EmptyResult();
  uint8_t* work = copy.bytes().data();
  work[0] = ' ';
  std::memcpy(work + 1, txt.data(), n);
  work[n + 1] = 0;

  if (options.fold_before_matching) {
    const MutableBytes text(work + 1, n);
    MapEachByte(text, text, [](uint8_t b) { return ToLower(b); });
  }
  if (!exceptions.empty() && !MarkExceptions(work, exceptions, options.prefixes)) {
    return EmptyResult();
  }
  Capitalise(work, n, options.capital_after_punct);
  RestoreMarks(work, txt, options.keep_exception_case);
  return ResultFromBytes(work + 1, static_cast<int64_t>(n));
}

}  // namespace twinekit::names
