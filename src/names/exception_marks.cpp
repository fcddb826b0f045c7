#include "names/passes.h"

#include <cstring>

#include "frame/chars.h"
#include "frame/scratch.h"
#include "frame/size_math.h"
#include "frame/tokenizer.h"
#include "frame/zstring.h"

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

// blank + word (+ blank), zero-terminated, in the pattern area; the
// word's length and the pattern's.  A word longer than kMaxExceptionWord
// bytes does not fit beside both blanks: it is no exception word at all
// (a pattern length of 0) and is skipped in both passes, so nothing is
// ever written past the area.  The word is measured as it is copied.
struct Pattern {
  size_t word_length;
  size_t length;
};

Pattern BuildPattern(uint8_t (&pattern)[kPatternArea], const uint8_t* word, bool trailing_blank) {
  pattern[0] = ' ';
  size_t k = 0;
  for (; word[k] != 0; ++k) {
    if (k == kMaxExceptionWord) return {k, 0};
    pattern[1 + k] = word[k];
  }
  size_t at = 1 + k;
  if (trailing_blank) pattern[at++] = ' ';
  pattern[at] = 0;
  return {k, at};
}

// Overwrites the word's bytes in every occurrence of its pattern with mark.
// The search goes on right after each match: after the trailing blank of a
// whole word (so two matches never share a blank), after the marked bytes
// of a prefix.
// A short working copy is searched by plain comparison.
void MarkEvery(uint8_t* work, bool short_work, const uint8_t* word, bool trailing_blank,
               uint8_t mark) {
  uint8_t pattern[kPatternArea];
  const Pattern built = BuildPattern(pattern, word, trailing_blank);
  if (built.length == 0) return;
  const auto find = short_work ? FindZInShortText : FindZ;
  size_t start = 0;
  while (const uint8_t* found = find(work + start, pattern)) {
    const size_t at = static_cast<size_t>(found - work);
    std::memset(work + at + 1, mark, built.word_length);
    start = at + built.length;
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
  // Room for the argument's whole byte count and two bytes; a count too
  // large to describe is an area that cannot be had.
  const auto area_size = CheckedSize(uint64_t{exceptions.size()} + 2);
  if (!area_size) return false;
  ScratchBuffer area(*area_size, ScratchBuffer::kStringAllocator);
  if (!area.ok()) return false;

  const Bytes list = UpToFirstZero(exceptions);
  const bool short_work = IsShortZ(work);
  ForEachWord(area.bytes().data(), list, [&](const uint8_t* word) {
    MarkEvery(work, short_work, word, /*trailing_blank=*/true, kWholeWordMark);
  });
  // Whole words come first: their "?" runs are no longer found as prefixes.
  if (prefixes) {
    ForEachWord(area.bytes().data(), list, [&](const uint8_t* word) {
      MarkEvery(work, short_work, word, /*trailing_blank=*/false, kPrefixMark);
    });
  }
  return true;
}

}  // namespace twinekit::names
