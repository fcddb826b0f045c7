#include "names/passes.h"

#include "frame/chars.h"
#include "frame/text_passes.h"

namespace twinekit::names {

void Capitalise(uint8_t* work, size_t n, bool capital_after_punct) {
  text::Capitalise(work, n, capital_after_punct);
}

// Working-copy position p stands for text byte p - 1; position n + 1 is the
// terminating zero byte, which no run reaches.
void RestoreMarks(uint8_t* work, Bytes txt, bool keep_exception_case) {
  const size_t n = txt.size();
  auto text_at = [&](size_t p) { return txt[p - 1]; };
  // Marks are few: the next one is sought a word at a time.
  for (size_t p = 1; (p = FindEitherByte(work, p, n + 1, kWholeWordMark, kPrefixMark)) <= n;
       ++p) {
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
