// Shuffling: the bytes of a text in an order set by a generator seeded
// from the clock at every call.
#pragma once

#include "frame/bytes.h"

namespace twinekit::charsets {

// A new string as long as txt: its bytes up to the first zero byte, zero
// bytes from there on, scrambled by txt.size() random swaps.  Two calls in
// the same second on texts of equal length apply the same permutation.
BSTR MixChars(Bytes txt);

}  // namespace twinekit::charsets
