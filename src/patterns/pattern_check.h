// The check that names the fault of a pattern the extended matcher found
// bad.
#pragma once

#include <cstdint>

#include "patterns/zero_terminated.h"

namespace twinekit::patterns {

// Scans the whole pattern and returns the first fault it finds:
// kFaultEscapeAtEnd, kFaultOpenRange, kFaultOpenSet, kFaultEmptySet or
// kFaultBadHex; kNoFaultFound when it finds none.  Its reading of sets is
// plainer than the matcher's (inside a set "!", "^" and "~" are ordinary
// bytes), so it can pass a pattern the matcher rejected.
int32_t CheckPattern(const ZeroTerminated& pattern);

}  // namespace twinekit::patterns
