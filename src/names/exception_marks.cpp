#include "names/exception_marks.h"

#include <cstring>

#include "frame/chars.h"
#include "frame/size_math.h"
#include "frame/tokenizer.h"
#include "frame/zstring.h"
#include "names/markers.h"
#include "names/owned_bstr.h"

namespace twinekit::names {
namespace {

constexpr uint8_t kWordDelimiters[] = {'/', 0};

// The list up to its first zero byte, lowered and zero-terminated, in an
// area that has room for it.  Each split consumes its copy, so every pass
// loads the list afresh.
uint8_t* LoadList(uint8_t* area, Bytes list) {
  if (!list.empty()) std::memcpy(area, list.data(), list.size());
  area[list.size()] = 0;
  return LowerInPlace(area);
}

// blank + word (+ blank), zero-terminated, in the pattern area.  A word
// longer than kMaxExceptionWord bytes does not fit beside both blanks; it
// is no exception word at all and is skipped in both passes, so nothing is
// ever written past the area.
bool BuildPattern(uint8_t (&pattern)[kPatternArea], const uint8_t* word, size_t k,
                  bool trailing_blank) {
  if (k > kMaxExceptionWord) return false;
  size_t at = 0;
  pattern[at++] = ' ';
  std::memcpy(pattern + at, word, k);
  at += k;
  if (trailing_blank) pattern[at++] = ' ';
  pattern[at] = 0;
  return true;
}

// Every occurrence of " word " from the leading blank on becomes
// " ??? "; the search goes on after the blank that ended the match, so
// two matches never share a blank.
void MarkWholeWord(uint8_t* work, const uint8_t* word) {
  const size_t k = std::strlen(reinterpret_cast<const char*>(word));
  uint8_t pattern[kPatternArea];
  if (!BuildPattern(pattern, word, k, /*trailing_blank=*/true)) return;
  const uint8_t* start = work;
  while (const uint8_t* found = FindZ(start, pattern)) {
    uint8_t* w = work + (found - work) + 1;
    std::memset(w, kWholeWordMark, k);
    start = w + k + 1;
  }
}

// Every occurrence of " word" becomes " !!!"; the search goes on right
// after the marked bytes.
void MarkPrefix(uint8_t* work, const uint8_t* word) {
  const size_t k = std::strlen(reinterpret_cast<const char*>(word));
  uint8_t pattern[kPatternArea];
  if (!BuildPattern(pattern, word, k, /*trailing_blank=*/false)) return;
  const uint8_t* start = work;
  while (const uint8_t* found = FindZ(start, pattern)) {
    uint8_t* w = work + (found - work) + 1;
    std::memset(w, kPrefixMark, k);
    start = w + k;
  }
}

template <typename Mark>
void ForEachWord(uint8_t* area, Bytes list, Mark mark) {
  Tokenizer split;  // this call's own split position
  for (uint8_t* word = split.First(LoadList(area, list), kWordDelimiters); word != nullptr;
       word = split.Next(kWordDelimiters)) {
    mark(word);
  }
}

}  // namespace

bool MarkExceptions(uint8_t* work, Bytes exceptions, bool prefixes) {
  // The area is sized from the argument's whole byte count, as the list
  // may be; an unsizeable count is an area that cannot be had.
  const auto area_size = CheckedSize(uint64_t{exceptions.size()} + 2);
  if (!area_size) return false;
  OwnedBstr area(static_cast<UINT>(*area_size));
  if (!area.ok()) return false;

  const Bytes list = UpToFirstZero(exceptions);
  ForEachWord(area.data(), list, [&](const uint8_t* word) { MarkWholeWord(work, word); });
  // After the whole-word pass its "?" runs are no longer found as prefixes.
  if (prefixes) {
    ForEachWord(area.data(), list, [&](const uint8_t* word) { MarkPrefix(work, word); });
  }
  return true;
}

}  // namespace twinekit::names
