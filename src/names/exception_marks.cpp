#include "names/passes.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "frame/byte_map.h"
#include "frame/chars.h"
#include "frame/scratch.h"
#include "frame/size_math.h"
#include "frame/zstring.h"
#include "names/byte_words.h"

namespace twinekit::names {
namespace {

constexpr uint8_t kWordDelimiter = '/';

// Calls mark(word) for each word of the list in area[0, size): the runs
// between "/" bytes, empty runs skipped.  Nothing is written to the area,
// so a second pass reads the same words.  A short list has its "/" bytes
// found at once, a longer one each in turn.
template <typename Mark>
void ForEachWord(const uint8_t* area, size_t size, Mark mark) {
  size_t at = 0;
  if (size < kMaxPlaces) {
    // The end of the list as a last delimiter.
    uint64_t ends = PlacesOf(area, size, kWordDelimiter) | uint64_t{1} << size;
    for (; ends != 0; ends &= ends - 1) {
      const size_t end = static_cast<size_t>(std::countr_zero(ends));
      if (end > at) mark(Bytes(area + at, end - at));
      at = end + 1;
    }
    return;
  }
  while (at < size) {
    const size_t end = FindEitherByte(area, at, size, kWordDelimiter, kWordDelimiter);
    if (end > at) mark(Bytes(area + at, end - at));
    at = end + 1;
  }
}

// A word longer than kMaxExceptionWord bytes does not fit the pattern area
// beside both blanks: it is no exception word at all, and is skipped in
// both passes.
bool FitsPattern(Bytes word) { return word.size() <= kMaxExceptionWord; }

// The searches of a working copy of any length: blank + word (+ blank),
// zero-terminated in the pattern area, sought by the C library's search.
// The search goes on right after each match: after the trailing blank of
// a whole word (so two matches never share a blank), after the marked
// bytes of a prefix.
void MarkEveryInLongText(uint8_t* work, Bytes word, bool trailing_blank, uint8_t mark) {
  uint8_t pattern[kPatternArea];
  pattern[0] = ' ';
  std::memcpy(pattern + 1, word.data(), word.size());
  size_t length = 1 + word.size();
  if (trailing_blank) pattern[length++] = ' ';
  pattern[length] = 0;
  size_t start = 0;
  while (const uint8_t* found = FindZ(work + start, pattern)) {
    const size_t at = static_cast<size_t>(found - work);
    std::memset(work + at + 1, mark, word.size());
    start = at + length;
  }
}

// A working copy of at most 64 bytes before its zero byte, with a bit for
// each of its blanks: a word is compared only where a blank stands before
// it (and, for a whole word, after it).  The same matches as the search
// of a long text, in the same order.
class ShortText {
 public:
  static constexpr size_t kMaxLength = kMaxPlaces;

  // work[0] is the blank before the text.  It was written apart from the
  // text's bytes, so the words are read from work[1] on: a read across
  // both writes would wait for them.
  ShortText(uint8_t* work, size_t length)
      : work_(work), length_(length), blanks_(PlacesOf(work + 1, length - 1, ' ') << 1 | 1) {}

  void MarkEvery(Bytes word, bool trailing_blank, uint8_t mark) {
    const size_t span = word.size() + (trailing_blank ? 2 : 1);
    if (span > length_) return;
    // Places j whose pattern ends inside the text, with a blank at j and,
    // for a whole word, at j + size + 1.
    uint64_t places = blanks_ & (~uint64_t{0} >> (kMaxLength - 1 - (length_ - span)));
    if (trailing_blank) places &= blanks_ >> (word.size() + 1);
    size_t start = 0;
    for (; places != 0; places &= places - 1) {
      const size_t at = static_cast<size_t>(std::countr_zero(places));
      if (at < start || !SameBytes(work_ + at + 1, word)) continue;
      std::memset(work_ + at + 1, mark, word.size());
      // A blank inside the word is now a mark.
      blanks_ &= ~(((uint64_t{1} << word.size()) - 1) << (at + 1));
      start = at + span;
    }
  }

 private:
  static bool SameBytes(const uint8_t* p, Bytes word) {
    for (size_t i = 0; i < word.size(); ++i) {
      if (p[i] != word[i]) return false;
    }
    return true;
  }

  uint8_t* work_;
  size_t length_;
  uint64_t blanks_;
};

}  // namespace

bool MarkExceptions(uint8_t* work, size_t n, Bytes exceptions, bool prefixes) {
  // Room for the argument's whole byte count and two bytes; a count too
  // large to describe is an area that cannot be had.
  const auto area_size = CheckedSize(uint64_t{exceptions.size()} + 2);
  if (!area_size) return false;
  ScratchBuffer area(*area_size, ScratchBuffer::kStringAllocator);
  if (!area.ok()) return false;

  // The list up to its first zero byte, lowered.
  const Bytes list = UpToFirstZero(exceptions);
  uint8_t* words = area.bytes().data();
  MapEachByte(list, MutableBytes(words, list.size()), [](uint8_t b) { return ToLower(b); });

  // The searches end at the copy's first zero byte, sought from the
  // text's first byte (work[0] is the blank) no further than a short
  // text's.
  const size_t scan = std::min(n + 2, ShortText::kMaxLength + 1);
  const size_t length = FindEitherByte(work, 1, scan, 0, 0);
  auto mark_all = [&](auto mark_every) {
    ForEachWord(words, list.size(), [&](Bytes word) {
      if (FitsPattern(word)) mark_every(word, /*trailing_blank=*/true, kWholeWordMark);
    });
    // Whole words come first: their "?" runs are no longer found as prefixes.
    if (!prefixes) return;
    ForEachWord(words, list.size(), [&](Bytes word) {
      if (FitsPattern(word)) mark_every(word, /*trailing_blank=*/false, kPrefixMark);
    });
  };
  if (length < scan) {
    ShortText text(work, length);
    mark_all([&](Bytes word, bool trailing_blank, uint8_t mark) {
      text.MarkEvery(word, trailing_blank, mark);
    });
  } else {
    mark_all([&](Bytes word, bool trailing_blank, uint8_t mark) {
      MarkEveryInLongText(work, word, trailing_blank, mark);
    });
  }
  return true;
}

}  // namespace twinekit::names
