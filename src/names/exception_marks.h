// Finding the words of an exception list in a name's working copy and
// overwriting them with markers: whole words with "?", then, on request,
// prefixes with "!".
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/bytes.h"

namespace twinekit::names {

// The pattern area: blank, word, blank and the terminating zero byte.
inline constexpr size_t kPatternArea = 256;
inline constexpr size_t kMaxExceptionWord = kPatternArea - 3;

// work is the working copy: a blank, the text, and a zero byte that ends
// every search (as does any earlier zero byte of the text).  exceptions is
// the list argument whole; its words end at "/" and the list at its first
// zero byte.  False when the list's working area cannot be allocated.
bool MarkExceptions(uint8_t* work, Bytes exceptions, bool prefixes);

}  // namespace twinekit::names
