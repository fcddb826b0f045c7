// Sets in brackets: "[" members "]", or "[!" / "[^" members "]" negated.
// A member is a byte or a range "x-y"; a bound is a byte, an escaped byte
// "\c" or a hex pair "~hl".
#pragma once

#include <cstddef>
#include <cstdint>

#include "patterns/zero_terminated.h"

namespace twinekit::patterns {

// Matches the set whose "[" is at pattern position p against the text byte
// c.  Returns kGoOn with p moved past the set's closing "]", kSetRefused,
// or kBadPattern.
//
// The members are read in order only until one admits c; the rest of the
// set is then skipped by a simpler scan that knows escapes and hex pairs
// but not ranges.  So whether a malformed set is noticed, and where the set
// is taken to end, can depend on c.
int32_t MatchSet(const ZeroTerminated& pattern, size_t& p, uint8_t c);

}  // namespace twinekit::patterns
