#include "fields/fields.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>

#include "fields/substring_search.h"
#include "frame/byte_mask.h"
#include "frame/chars.h"
#include "frame/lowering.h"
#include "frame/result.h"
#include "frame/scratch.h"
#include "frame/size_math.h"
#include "frame/word_find.h"

namespace twinekit::fields {
namespace {

// The output area holds six bytes per byte of text, and the result is
// built in it as a zero-terminated string.
constexpr uint64_t kOutputBytesPerTextByte = 6;

// The result is written into a fixed area; a result that would not fit
// stops the build.
class Output {
 public:
  explicit Output(MutableBytes area) : area_(area), limit_(area.empty() ? 0 : area.size() - 1) {}

  // Appends bytes, leaving out zero bytes: the runs between them are
  // appended whole.
  bool AppendNonZero(Bytes bytes) {
    while (!bytes.empty()) {
      const size_t run = FindByte(bytes.data(), 0, bytes.size(), 0);
      if (!Append(bytes.first(run))) return false;
      bytes = bytes.subspan(std::min(run + 1, bytes.size()));
    }
    return true;
  }

  // Appends bytes that hold no zero byte.
  bool Append(Bytes bytes) {
    if (bytes.size() > limit_ - length_) return false;
    std::copy(bytes.begin(), bytes.end(), area_.begin() + static_cast<ptrdiff_t>(length_));
    length_ += bytes.size();
    return true;
  }

  BSTR Result() const { return ResultFromRun(Bytes(area_).first(length_)); }

 private:
  MutableBytes area_;
  size_t limit_;  // room for the result, less its terminating zero byte
  size_t length_ = 0;
};

// The comparison copy is lowered only up to its first zero byte.
void LowerUpToFirstZero(MutableBytes bytes) {
  LowerRun(bytes.data(), UpToFirstZero(bytes).size(), bytes.data());
}

// The search string as it is compared: its bytes up to its first zero
// byte, that zero byte included, so a search string that holds a zero byte
// matches only where the text holds a zero byte at the same place, and the
// bytes after it in the search string are not compared.  A match still
// takes the search string's full length of text.
Bytes ComparedPart(Bytes find) {
  const Bytes before_zero = UpToFirstZero(find);
  return find.first(std::min(before_zero.size() + 1, find.size()));
}

// One byte for one byte: each byte of the text that matches is replaced;
// the result ends before the first zero byte it would hold.
size_t ReplaceEachByte(Bytes txt, Bytes compared, uint8_t pattern, uint8_t replacement,
                       MutableBytes out) {
  size_t i = 0;
  for (; i < txt.size(); ++i) {
    const uint8_t b = compared[i] == pattern ? replacement : txt[i];
    if (b == 0) break;
    out[i] = b;
  }
  return i;
}

// Replacement in general: the leftmost match first, no match overlapping
// another or the inserted text.  Bytes of the text outside matches are
// copied, except zero bytes.  False when the result would not fit.
bool ReplaceAll(Bytes txt, Bytes compared, Bytes find, bool lower_find, Bytes replacement,
                Output& out) {
  const size_t n = txt.size();
  const size_t f = find.size();
  if (f > n) return out.AppendNonZero(txt);
  const Bytes needle = ComparedPart(find);
  // A match must leave f bytes of text from its start, so it starts at
  // n - f at the latest.
  const Bytes searched = compared.first(n - f + needle.size());
  // A short text is searched window by window, without the two-way set-up.
  std::optional<SubstringSearcher> searcher;
  if (searched.size() > kShortSearchText) searcher.emplace(needle, lower_find);
  size_t p = 0;
  while (p < n) {
    const size_t match = searcher ? searcher->Find(searched, p)
                                  : FindInShortText(searched, p, needle, lower_find);
    if (match == SubstringSearcher::kNotFound) return out.AppendNonZero(txt.subspan(p));
    if (!out.AppendNonZero(txt.subspan(p, match - p)) || !out.Append(replacement)) return false;
    p = match + f;
  }
  return true;
}

// The places at which a match of find starts in txt (n bytes, at most
// kMaxMaskedSpan), as bits, overlapping ones included.  Find is compared
// up to its first zero byte, that byte included (as ComparedPart);
// case-blind, its letters are lowered, and txt is the lowered text.
uint64_t MatchesInShortText(const MaskedSpan& txt, size_t n, Bytes find, bool case_blind) {
  if (find.size() > n) return 0;
  // Most short texts hold no match: the first two bytes of find (the
  // second compared only after a first that is not zero) are looked for
  // without the gathering multiplies first.
  const auto compared_byte = [&](size_t k) { return case_blind ? ToLower(find[k]) : find[k]; };
  const uint8_t first = compared_byte(0);
  if (!txt.Holds(first)) return 0;
  if (first != 0 && find.size() > 1 && !txt.Holds(compared_byte(1))) return 0;
  uint64_t found = (uint64_t{1} << (n - find.size() + 1)) - 1;
  for (size_t k = 0; k < find.size() && found != 0; ++k) {
    const uint8_t b = compared_byte(k);
    found &= txt.Mask(b) >> k;
    if (b == 0) break;
  }
  return found;
}

// Search and replace in a text of at most kMaxMaskedSpan bytes whose zero
// bytes are the bits of zeros, its matches found at once in registers in
// compared (the text, or its lowered form); a text with neither matches
// nor zero bytes comes back as it is.
BSTR ReplaceAllInShortText(Bytes txt, const MaskedSpan& compared, uint64_t zeros, Bytes find,
                           bool case_blind, Bytes replace, MutableBytes area) {
  uint64_t matches = MatchesInShortText(compared, txt.size(), find, case_blind);
  if (matches == 0 && zeros == 0) return CopyOfText(txt);
  const Bytes replacement = UpToFirstZero(replace);
  Output out(area);
  size_t p = 0;
  for (; matches != 0; matches &= matches - 1) {
    const auto match = static_cast<size_t>(std::countr_zero(matches));
    if (match < p) continue;  // overlaps the match before
    if (!out.AppendNonZero(txt.subspan(p, match - p)) || !out.Append(replacement)) {
      return CopyOfText(txt);
    }
    p = match + find.size();
  }
  if (!out.AppendNonZero(txt.subspan(p))) return CopyOfText(txt);
  return out.Result();
}

}  // namespace

// Cases this function settles for itself:
//  - A result longer than the output area allows (six bytes per byte of
//    text, less one) is not built: the copy of the text comes back, as when
//    memory cannot be had.
//  - A search string longer than 255 bytes is compared whole.
//  - A search string that holds a zero byte is compared up to and
//    including its first zero byte (see ComparedPart).
BSTR SearchAndReplace(Bytes txt, Bytes find, Bytes replace, bool match_case) {
  const size_t n = txt.size();
  if (n == 0) return EmptyResult();
  if (find.empty()) return CopyOfText(txt);

  // Without the working areas the text comes back unchanged.
  const auto output_size = CheckedMulAdd(kOutputBytesPerTextByte, n, 0);
  if (!output_size) return CopyOfText(txt);
  ScratchBuffer comparison(n);
  if (!comparison.ok()) return CopyOfText(txt);
  ScratchBuffer output(*output_size);
  if (!output.ok()) return CopyOfText(txt);

  if (n <= kMaxMaskedSpan && (find.size() != 1 || replace.size() != 1)) {
    const MaskedSpan span(txt);
    const uint64_t zeros = span.HoldsZero() ? span.Mask(0) : 0;
    // Case-blind, a text with a zero byte is lowered only up to it: that
    // one is compared through the lowered copy below.
    if (match_case || zeros == 0) {
      return ReplaceAllInShortText(txt, match_case ? span : span.Lowered(), zeros, find,
                                   !match_case, replace, output.bytes());
    }
  }

  // The text as it is compared: a lowered copy in the comparison area
  // when case does not count, the text itself when it does (a copy would
  // hold the same bytes).
  Bytes compared = txt;
  if (!match_case) {
    std::memcpy(comparison.bytes().data(), txt.data(), n);
    LowerUpToFirstZero(comparison.bytes());
    compared = comparison.bytes();
  }

  if (find.size() == 1 && replace.size() == 1) {
    const uint8_t pattern = match_case ? find[0] : ToLower(find[0]);
    const size_t length = ReplaceEachByte(txt, compared, pattern, replace[0], output.bytes());
    return ResultFromRun(Bytes(output.bytes()).first(length));
  }

  Output out(output.bytes());
  if (!ReplaceAll(txt, compared, find, !match_case, UpToFirstZero(replace), out)) {
    return CopyOfText(txt);
  }
  return out.Result();
}

}  // namespace twinekit::fields
