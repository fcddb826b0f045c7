// The two passes that give the working copy of a name its final case: the
// capitalisation of every word, then the return of the marked exception
// words and prefixes.
#pragma once

#include <cstdint>

#include "frame/bytes.h"
#include "names/options.h"

namespace twinekit::names {

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
