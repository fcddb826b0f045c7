#include "fields/fields.h"

#include <bit>
#include <cstring>

#include "fields/field_scan.h"
#include "fields/substring_search.h"
#include "frame/byte_mask.h"
#include "frame/byte_scan.h"
#include "frame/result.h"
#include "frame/word_find.h"

namespace twinekit::fields {
namespace {

// Sets of up to this many separator bytes are tested a byte value at a
// time in a short text.
constexpr size_t kFewSeparators = 4;

// The host passes the list's length as a 16-bit Integer: byte lengths
// beyond 32767 wrap, and a negative length means no token at all.
int16_t ListLength(Bytes tokens) {
  return static_cast<int16_t>(static_cast<uint16_t>(tokens.size() & 0xFFFFu));
}

// Lists up to this length are read a word at a time, each token's end and
// its first zero byte found in one pass: on a few short tokens that costs
// less than two library searches a token.
constexpr size_t kShortList = 64;

// The token that starts at start, up to its first zero byte; *next is the
// place after the separator that ends it (past the list's end when none).
[[gnu::always_inline]] inline Bytes TokenAt(Bytes list, size_t start, uint8_t separator,
                                            size_t* next) {
  if (list.size() > kShortList) {
    const size_t end = scan::Find(list, start, separator);
    *next = end + 1;
    return UpToFirstZero(list.subspan(start, end - start));
  }
  size_t end = FindEitherByte(list.data(), start, list.size(), separator, 0);
  const Bytes token = list.subspan(start, end - start);
  // A zero byte ends the token but not its stretch of the list.
  if (end < list.size() && list[end] != separator) end = scan::Find(list, end, separator);
  *next = end + 1;
  return token;
}

// Four bytes from p, in the machine's order (for comparison only).
uint32_t LoadFour(const uint8_t* p) {
  uint32_t four;
  std::memcpy(&four, p, sizeof four);
  return four;
}

// Whether the m bytes at a and at b are the same: two reads of a word that
// overlap where m allows, bytes one by one below four.
[[gnu::always_inline]] inline bool SameBytes(const uint8_t* a, const uint8_t* b, size_t m) {
  if (m >= 8 && m <= 16) {
    return words::LoadWord(a) == words::LoadWord(b) &&
           words::LoadWord(a + m - 8) == words::LoadWord(b + m - 8);
  }
  if (m >= 4 && m < 8) {
    return LoadFour(a) == LoadFour(b) && LoadFour(a + m - 4) == LoadFour(b + m - 4);
  }
  if (m > 16) return std::memcmp(a, b, m) == 0;
  for (size_t i = 0; i < m; ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

// Whether token (not empty) occurs in a text of at most kShortSearchText
// bytes: each place of its first byte, found a word at a time, is tested
// at the token's last byte before the whole is compared.
bool OccursInShortText(Bytes text, Bytes token) {
  const size_t m = token.size();
  if (m > text.size()) return false;
  const size_t windows = text.size() - m + 1;
  const uint8_t first = token[0];
  const uint8_t last = token[m - 1];
  for (size_t j = 0; (j = FindEitherByte(text.data(), j, windows, first, first)) < windows; ++j) {
    if (text[j + m - 1] == last && SameBytes(&text[j], token.data(), m)) return true;
  }
  return false;
}

// The high bits of the bytes of a word below byte k.
uint64_t HighsBelow(size_t k) {
  using words::kHighs;
  return k >= 8 ? kHighs : kHighs & ((uint64_t{1} << (8 * k)) - 1);
}

// A text of at most kMaxMaskedSpan bytes held in two words, its head (the
// first eight bytes, zero-padded below eight) and its tail (the last
// eight, sharing bytes with the head below sixteen), and read up to its
// first zero byte.  The places of a token's first byte come from the
// words at once, with no gathering multiply and no loop over the text,
// and only those places are compared.  The zero test may mark a byte
// above a true mark too, never miss one: the lowest mark is exact, and a
// comparison drops any other wrong one.
class WordText {
 public:
  explicit WordText(Bytes txt) {
    using words::ZeroBytes;
    const size_t n = txt.size();
    if (n < 8) {
      head_ = words::LoadShort(txt.data(), n);
    } else {
      const words::HeadTail ends = words::LoadHeadTail(txt.data(), n);
      head_ = ends.head;
      tail_ = ends.tail;
      tail_at_ = n - 8;
    }
    const uint64_t head_zeros = ZeroBytes(head_) & HighsBelow(n);
    const uint64_t tail_zeros = ZeroBytes(tail_) & HighsBelow(n < 8 ? 0 : 8);
    size_t length = n;
    if (head_zeros != 0) {
      length = words::FirstMarkedByte(head_zeros);
    } else if (tail_zeros != 0) {
      length = tail_at_ + words::FirstMarkedByte(tail_zeros);
    }
    text_ = txt.first(length);
  }

  // Whether token (not empty, no zero byte) occurs in the text.
  bool Contains(Bytes token) const {
    using words::EqualMarks;
    const size_t n = text_.size();
    const size_t m = token.size();
    if (m > n) return false;
    const size_t windows = n - m + 1;
    const uint8_t first = token[0];
    uint64_t at = EqualMarks(head_, first) & HighsBelow(windows);
    // Byte b of the tail is byte tail_at_ + b of the text: the windows
    // past the head's start at b = 8 - tail_at_ and end before
    // b = windows - tail_at_.
    uint64_t tail_at = windows > 8 ? EqualMarks(tail_, first) & HighsBelow(windows - tail_at_) &
                                         ~HighsBelow(8 - tail_at_)
                                   : 0;
    size_t offset = 0;
    for (;;) {
      if (at == 0) {
        if (tail_at == 0) return false;
        at = tail_at;
        tail_at = 0;
        offset = tail_at_;
      }
      if (SameBytes(&text_[offset + words::FirstMarkedByte(at)], token.data(), m)) return true;
      at &= at - 1;
    }
  }

 private:
  Bytes text_;
  uint64_t head_ = 0;
  uint64_t tail_ = 0;
  size_t tail_at_ = 0;  // the place of the tail's first byte
};

// Whether any token of the list, or every one (by exhausted_answer), occurs
// by occurs(token).
template <typename Occurs>
bool TokensOccurBy(Bytes list, uint8_t separator, bool exhausted_answer, Occurs occurs) {
  for (size_t start = 0; start < list.size();) {
    const Bytes token = TokenAt(list, start, separator, &start);
    if (token.empty()) continue;
    if (occurs(token) != exhausted_answer) return !exhausted_answer;
  }
  return exhausted_answer;
}

}  // namespace

uint8_t ListSeparatorFrom(Bytes sep) { return FirstByteOr(sep, kListSeparator); }

// A token is searched for whole, whatever its length.  (A token is read up
// to its first zero byte, so a list of at most 32767 bytes bounds it; there
// is no fixed token area to outgrow, and no token is ever cut short.)
bool TokensOccur(Bytes txt, Bytes tokens, uint8_t separator, TokenRule rule) {
  if (txt.empty()) return false;
  const int16_t length = ListLength(tokens);
  if (length == 0) return false;
  const bool exhausted_answer = rule == TokenRule::kAll;
  if (length < 0) return exhausted_answer;

  // The text ends at its first zero byte; so does each token.
  const Bytes list = tokens.first(static_cast<size_t>(length));
  if (txt.size() <= kMaxMaskedSpan) {
    const WordText words(txt);
    return TokensOccurBy(list, separator, exhausted_answer,
                         [&](Bytes token) { return words.Contains(token); });
  }
  const Bytes text = UpToFirstZero(txt);
  const bool short_text = text.size() <= kShortSearchText;
  return TokensOccurBy(list, separator, exhausted_answer, [&](Bytes token) {
    return short_text ? OccursInShortText(text, token) : Contains(text, token);
  });
}

BSTR GetFieldBySet(Bytes txt, Bytes seps, int32_t index) {
  if (txt.empty() || seps.empty()) return EmptyResult();
  // A short text with a few separators is split through their masks; any
  // other through a byte class, which costs less for a larger set.
  if (txt.size() <= kShortFieldText && seps.size() <= kFewSeparators) {
    return ResultFromRun(FieldFromLeftInShortText(txt, index, seps));
  }
  return ResultFromRun(FieldFromLeft(txt, index, ByteClass(seps)));
}

}  // namespace twinekit::fields
