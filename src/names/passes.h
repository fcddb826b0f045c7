// The passes of the full name capitalisation over its working copy (a
// blank, the text, a zero byte): the exception words found and overwritten
// with markers, every word capitalised, and the marked bytes given back.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/bytes.h"

namespace twinekit::names {

// The option bits; every other bit of the Integer is ignored.
struct NameOptions {
  bool fold_before_matching = false;  // 1: lower the text before searching
  bool capital_after_punct = false;   // 2: a capital after punctuation too
  bool keep_exception_case = false;   // 4: whole-word exceptions keep the text's case
  bool prefixes = false;              // 8: exception words are also prefixes

  static constexpr NameOptions FromBits(int16_t bits) {
    NameOptions o;
    o.fold_before_matching = (bits & 1) != 0;
    o.capital_after_punct = (bits & 2) != 0;
    o.keep_exception_case = (bits & 4) != 0;
    o.prefixes = (bits & 8) != 0;
    return o;
  }
};

// The bytes that mark found exception words inside the working copy.  Both
// are punctuation, so the capitalisation pass leaves them as they are.
inline constexpr uint8_t kWholeWordMark = '?';
inline constexpr uint8_t kPrefixMark = '!';

// The pattern area: blank, word, blank and the terminating zero byte.
inline constexpr size_t kPatternArea = 256;
inline constexpr size_t kMaxExceptionWord = kPatternArea - 3;

// What marking the exception words came to.
enum class Marks { kNoArea, kNone, kMarked };

// work is the working copy of txt: a blank, the text (perhaps lowered),
// and a zero byte that ends every search (as does any earlier zero byte of
// the text).
// exceptions is the list argument whole; its words end at "/" and the list
// at its first zero byte.  kNoArea when the list's working area cannot be
// allocated, else whether any mark was written.
Marks MarkExceptions(uint8_t* work, Bytes txt, Bytes exceptions, bool prefixes);

// Positions 1 to n of work: upper case after a blank (and, with
// capital_after_punct, after punctuation), lower case elsewhere.  work[0]
// is the leading blank.
void Capitalise(uint8_t* work, size_t n, bool capital_after_punct);

// Gives the marked bytes of work (positions 1 to n) back from txt, the
// caller's text of n bytes: "?" runs as the text has them (lowered unless
// keep_exception_case), "!" runs as a capital and lower case, followed by
// a capital.  A "?" or "!" of the text itself is treated like a marker.
void RestoreMarks(uint8_t* work, Bytes txt, bool keep_exception_case);

}  // namespace twinekit::names
