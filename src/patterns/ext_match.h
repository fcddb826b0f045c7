// Extended wildcard matching: "*", "?", sets, escapes and hex pairs, with
// result codes that say where a match failed or what is wrong with the
// pattern.
#pragma once

#include <cstdint>

#include "frame/bytes.h"

namespace twinekit::patterns {

// The code of matching txt against pattern, each read up to its first zero
// byte: -1 for a match, 1 when the pattern holds no "*", "?", "[" or "\",
// 11, 12, 13, 14 or 17 for a failed match, and for a bad pattern the fault
// code of CheckPattern (0, 2, 3, 4, 5 or 7).
int32_t PatternExtMatch(Bytes txt, Bytes pattern);

}  // namespace twinekit::patterns
