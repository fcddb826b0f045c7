#include "names/proper_name.h"

#include <bit>

#include "frame/lowering.h"
#include "frame/result.h"
#include "frame/scratch.h"
#include "frame/short_copy.h"
#include "frame/size_math.h"
#include "frame/text_passes.h"
#include "names/byte_words.h"
#include "names/passes.h"

namespace twinekit::names {

namespace {

// The kernel's vector loop takes whole blocks after a text's first byte
// and leaves a shorter text to its byte loop.  A text of 8 to 16 bytes is
// raised here instead in two overlapping 64-bit words read straight from
// it, each beside the word one byte before it.
constexpr size_t kShortText = 2 * kWordBytes;

// word with each small letter whose byte in before is a blank made capital.
uint64_t RaiseWord(uint64_t word, uint64_t before) {
  return word ^ ((EqualHighs(before, ' ') & RangeHighs(word, 'a', 'z')) >> 2);
}

void RaiseAfterBlanks(Bytes txt, uint8_t* out) {
  const size_t n = txt.size();
  if (std::endian::native != std::endian::little || n < kWordBytes || n > kShortText) {
    return text::RaiseAfterBlanks(txt, out);
  }
  // The byte before the text counts as a blank, so that its first byte is
  // raised.
  const words::HeadTail text = words::LoadHeadTail(txt.data(), n);
  const uint64_t before_tail =
      n == kWordBytes ? (text.head << 8) | ' ' : LoadWord(txt.data() + n - kWordBytes - 1);
  words::StoreHeadTail(out, n,
                       {RaiseWord(text.head, (text.head << 8) | ' '), RaiseWord(text.tail, before_tail)});
}

// A text of 8 to 16 bytes of the full capitalisation held in two
// overlapping words, lowered or not, each beside the word one byte before
// it in the caller's text (whose blanks and punctuation lowering leaves
// alone).  When no exception word was marked and the text holds no "!",
// the capitalisation is made from these words in registers and stored
// straight into the result: the working copy is not read back, which
// would wait for the writes just made to it.
class ShortName {
 public:
  ShortName() = default;
  ShortName(Bytes txt, bool lower) : n_(txt.size()) {
    const words::HeadTail text = words::LoadHeadTail(txt.data(), n_);
    head_ = text.head;
    tail_ = text.tail;
    // The byte before the text counts as a blank.
    before_head_ = (head_ << 8) | ' ';
    before_tail_ = n_ == kWordBytes ? before_head_ : LoadWord(txt.data() + n_ - kWordBytes - 1);
    marks_ = EqualHighs(head_, kPrefixMark) | EqualHighs(tail_, kPrefixMark);
    if (lower) {
      head_ = LowerLetters(head_);
      tail_ = LowerLetters(tail_);
    }
  }

  // The text's own "!" is given back like a prefix marker.
  bool HasPrefixMark() const { return marks_ != 0; }

  // The n bytes at out.
  void Store(uint8_t* out) const { words::StoreHeadTail(out, n_, {head_, tail_}); }

  // A capital after a blank (and, with after_punct, after punctuation),
  // lower case elsewhere, as a new result.
  BSTR Capitalised(bool after_punct) const {
    const BSTR result = SysAllocStringByteLen(nullptr, static_cast<UINT>(n_));
    if (result == nullptr) return nullptr;
    const ShortName out(Capitalise(head_, before_head_, after_punct),
                        Capitalise(tail_, before_tail_, after_punct), n_);
    out.Store(reinterpret_cast<uint8_t*>(result));
    return result;
  }

 private:
  ShortName(uint64_t head, uint64_t tail, size_t n) : n_(n), head_(head), tail_(tail) {}

  // Case changes by flipping bit 5: of a small letter starting a word, of
  // a capital inside one.
  static uint64_t Capitalise(uint64_t word, uint64_t before, bool after_punct) {
    const uint64_t starts = EqualHighs(before, ' ') | (after_punct ? words::PunctHighs(before) : 0);
    const uint64_t flip =
        (starts & RangeHighs(word, 'a', 'z')) | (~starts & RangeHighs(word, 'A', 'Z'));
    return word ^ (flip >> 2);
  }

  size_t n_ = 0;
  uint64_t head_ = 0;
  uint64_t tail_ = 0;
  uint64_t before_head_ = 0;
  uint64_t before_tail_ = 0;
  uint64_t marks_ = 0;
};

}  // namespace

// Nothing is lowered: only a byte at the start or after a blank changes.
BSTR ProperName(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  return BuildWholeResult(txt.size(), [&](MutableBytes out) { RaiseAfterBlanks(txt, out.data()); });
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
  const bool in_words = std::endian::native == std::endian::little && n >= kWordBytes && n <= kShortText;
  ShortName short_name;
  work[0] = ' ';
  if (in_words) {
    short_name = ShortName(txt, options.fold_before_matching);
    short_name.Store(work + 1);
  } else if (options.fold_before_matching) {
    LowerRun(txt.data(), n, work + 1);
  } else {
    CopyRun(work + 1, txt.data(), n);
  }
  work[n + 1] = 0;

  Marks marks = Marks::kNone;
  if (!exceptions.empty()) {
    marks = MarkExceptions(work, txt, exceptions, options.prefixes);
    if (marks == Marks::kNoArea) return EmptyResult();
  }
  if (in_words && marks == Marks::kNone && !short_name.HasPrefixMark()) {
    return short_name.Capitalised(options.capital_after_punct);
  }
  Capitalise(work, n, options.capital_after_punct);
  RestoreMarks(work, txt, options.keep_exception_case);
  return ResultFromBytes(work + 1, static_cast<int64_t>(n));
}

}  // namespace twinekit::names
