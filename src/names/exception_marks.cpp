#include "names/passes.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "frame/lowering.h"
#include "frame/scratch.h"
#include "frame/size_math.h"
#include "frame/zstring.h"
#include "names/byte_words.h"

namespace twinekit::names {
namespace {

constexpr uint8_t kWordDelimiter = '/';

// The words of the lowered list in area[0, size): the runs between "/"
// bytes, empty runs skipped.  Nothing is written to the area, so a second
// pass reads the same words.  A short list has its "/" bytes found once,
// for both passes, in the caller's list (lowering moves none of them): a
// read of the area just written would wait for the writes.
class ListWords {
 public:
  ListWords(const uint8_t* area, Bytes list)
      : area_(area),
        size_(list.size()),
        // The end of the list as a last delimiter.
        ends_(size_ < kMaxPlaces
                  ? PlacesOf(list.data(), size_, kWordDelimiter) | uint64_t{1} << size_
                  : 0) {}

  // Calls mark(word) for each word in turn.
  template <typename Mark>
  void ForEach(Mark mark) const {
    size_t at = 0;
    if (size_ < kMaxPlaces) {
      for (uint64_t ends = ends_; ends != 0; ends &= ends - 1) {
        const size_t end = static_cast<size_t>(std::countr_zero(ends));
        if (end > at) mark(Bytes(area_ + at, end - at));
        at = end + 1;
      }
      return;
    }
    while (at < size_) {
      const size_t end = FindEitherByte(area_, at, size_, kWordDelimiter, kWordDelimiter);
      if (end > at) mark(Bytes(area_ + at, end - at));
      at = end + 1;
    }
  }

 private:
  const uint8_t* area_;
  size_t size_;
  uint64_t ends_;
};

// A word longer than kMaxExceptionWord bytes does not fit the pattern area
// beside both blanks: it is no exception word at all, and is skipped in
// both passes.
bool FitsPattern(Bytes word) { return word.size() <= kMaxExceptionWord; }

// The searches of a working copy of any length: blank + word (+ blank),
// zero-terminated in the pattern area, sought by the C library's search.
// The search goes on right after each match: after the trailing blank of
// a whole word (so two matches never share a blank), after the marked
// bytes of a prefix.
bool MarkEveryInLongText(uint8_t* work, Bytes word, bool trailing_blank, uint8_t mark) {
  uint8_t pattern[kPatternArea];
  pattern[0] = ' ';
  std::memcpy(pattern + 1, word.data(), word.size());
  size_t length = 1 + word.size();
  if (trailing_blank) pattern[length++] = ' ';
  pattern[length] = 0;
  size_t start = 0;
  bool marked = false;
  while (const uint8_t* found = FindZ(work + start, pattern)) {
    const size_t at = static_cast<size_t>(found - work);
    std::memset(work + at + 1, mark, word.size());
    start = at + length;
    marked = true;
  }
  return marked;
}

// A working copy of at most 64 bytes before its zero byte, with a bit for
// each of its blanks: a word is compared only where a blank stands before
// it (and, for a whole word, after it).  The same matches as the search
// of a long text, in the same order.
class ShortText {
 public:
  static constexpr size_t kMaxLength = kMaxPlaces;

  // length counts work[0], the blank before the text, and the text up to
  // its first zero byte.  The blanks are found in txt, the caller's text,
  // whose blanks the copy has at the next place: a read of the copy just
  // written would wait for the writes.
  ShortText(uint8_t* work, Bytes txt, size_t length)
      : work_(work), length_(length), blanks_(PlacesOf(txt.data(), length - 1, ' ') << 1 | 1) {
    FindGaps();
  }

  bool marked() const { return marked_; }

  void MarkEvery(Bytes word, bool trailing_blank, uint8_t mark) {
    const size_t span = word.size() + (trailing_blank ? 2 : 1);
    if (span > length_) return;
    // Most whole words of a list have no two blanks their length apart.
    if (trailing_blank && (gaps_ >> (word.size() + 1) & 1) == 0) return;
    // Places j whose pattern ends inside the text, with a blank at j and,
    // for a whole word, at j + size + 1.
    uint64_t places = blanks_ & (~uint64_t{0} >> (kMaxLength - 1 - (length_ - span)));
    if (trailing_blank) places &= blanks_ >> (word.size() + 1);
    size_t start = 0;
    for (; places != 0; places &= places - 1) {
      const size_t at = static_cast<size_t>(std::countr_zero(places));
      if (at < start || !SameBytes(work_ + at + 1, word)) continue;
      std::memset(work_ + at + 1, mark, word.size());
      marked_ = true;
      // A blank inside the word is now a mark.
      blanks_ &= ~(((uint64_t{1} << word.size()) - 1) << (at + 1));
      start = at + span;
      FindGaps();
    }
  }

 private:
  // Bit d of gaps_ set where two blanks stand d places apart.
  void FindGaps() {
    gaps_ = 0;
    for (uint64_t rest = blanks_; rest != 0; rest &= rest - 1) gaps_ |= blanks_ >> std::countr_zero(rest);
  }

  static bool SameBytes(const uint8_t* p, Bytes word) {
    for (size_t i = 0; i < word.size(); ++i) {
      if (p[i] != word[i]) return false;
    }
    return true;
  }

  uint8_t* work_;
  size_t length_;
  uint64_t blanks_;
  uint64_t gaps_ = 0;
  bool marked_ = false;
};

}  // namespace

Marks MarkExceptions(uint8_t* work, Bytes txt, Bytes exceptions, bool prefixes) {
  // Room for the argument's whole byte count and two bytes; a count too
  // large to describe is an area that cannot be had.
  const auto area_size = CheckedSize(uint64_t{exceptions.size()} + 2);
  if (!area_size) return Marks::kNoArea;
  ScratchBuffer area(*area_size, ScratchBuffer::kStringAllocator);
  if (!area.ok()) return Marks::kNoArea;

  // The list up to its first zero byte, lowered; a short list's zero byte
  // is sought a word at a time.
  const Bytes list = exceptions.size() <= kMaxPlaces
                         ? exceptions.first(FindEitherByte(exceptions.data(), 0, exceptions.size(), 0, 0))
                         : UpToFirstZero(exceptions);
  uint8_t* words = area.bytes().data();
  LowerRun(list.data(), list.size(), words);
  const ListWords list_words(words, list);

  // The searches end at the copy's first zero byte: the text's first
  // zero byte, or the one after it.  It is sought in the text no further
  // than a short text's.
  const size_t zero = FindEitherByte(txt.data(), 0, std::min(txt.size(), ShortText::kMaxLength), 0, 0);
  auto mark_all = [&](auto mark_every) {
    list_words.ForEach([&](Bytes word) {
      if (FitsPattern(word)) mark_every(word, /*trailing_blank=*/true, kWholeWordMark);
    });
    // Whole words come first: their "?" runs are no longer found as prefixes.
    if (!prefixes) return;
    list_words.ForEach([&](Bytes word) {
      if (FitsPattern(word)) mark_every(word, /*trailing_blank=*/false, kPrefixMark);
    });
  };
  if (zero < ShortText::kMaxLength) {
    ShortText text(work, txt, zero + 1);
    mark_all([&](Bytes word, bool trailing_blank, uint8_t mark) {
      text.MarkEvery(word, trailing_blank, mark);
    });
    return text.marked() ? Marks::kMarked : Marks::kNone;
  }
  bool marked = false;
  mark_all([&](Bytes word, bool trailing_blank, uint8_t mark) {
    marked |= MarkEveryInLongText(work, word, trailing_blank, mark);
  });
  return marked ? Marks::kMarked : Marks::kNone;
}

}  // namespace twinekit::names
