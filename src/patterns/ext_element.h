// One element of an extended pattern other than "*": "?", a set in
// brackets, an escaped byte "\c", a hex pair "~hl" or a plain byte.
#pragma once

#include <cstddef>
#include <cstdint>

#include "patterns/zero_terminated.h"

namespace twinekit::patterns {

// Matches the element at pattern position p (not a "*", not the end)
// against the text byte c.  Returns kGoOn with p moved past the element,
// or kSetRefused, kByteDiffers, kHexDiffers or kBadPattern.
int32_t MatchElement(const ZeroTerminated& pattern, size_t& p, uint8_t c);

}  // namespace twinekit::patterns
