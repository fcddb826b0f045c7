// Wildcard matching: plain ("*" and "?") and extended ("*", "?", sets,
// escapes and hex pairs, with result codes that say where a match failed
// or what is wrong with the pattern).
#pragma once

#include <cstdint>

#include "frame/bytes.h"
#include "patterns/zero_terminated.h"

namespace twinekit::patterns {

// Whether txt matches pattern, each read up to its first zero byte.
//
// "?" matches any one byte and every other byte itself, except that the
// byte after a "*" always goes with it: "*k" matches any run of bytes
// followed by one byte that k matches ("?" any byte, anything else itself,
// a "*" included).  A "*" that ends the pattern matches any run, even an
// empty one.
bool PlainMatch(Bytes txt, Bytes pattern);

// The code of matching txt against pattern, each read up to its first zero
// byte: -1 for a match, 1 when the pattern holds no "*", "?", "[" or "\",
// 11, 12, 13, 14 or 17 for a failed match, and for a bad pattern the fault
// code of CheckPattern (0, 2, 3, 4, 5 or 7).
int32_t PatternExtMatch(Bytes txt, Bytes pattern);

// The answers of the extended matcher.  The export returns the public codes
// as they stand; the internal verdicts never leave the family.
inline constexpr int32_t kMatched = -1;
inline constexpr int32_t kNoWildcard = 1;  // pattern has no "*", "?", "[" or "\"
inline constexpr int32_t kTextLeft = 11;   // the pattern ended first
inline constexpr int32_t kTextEnded = 12;  // the text ended first; a failed "*"
inline constexpr int32_t kSetRefused = 13;
inline constexpr int32_t kByteDiffers = 14;  // a plain or escaped byte
inline constexpr int32_t kHexDiffers = 17;

// Faults of a bad pattern, as the pattern check names them.
inline constexpr int32_t kNoFaultFound = 0;
inline constexpr int32_t kFaultEscapeAtEnd = 2;
inline constexpr int32_t kFaultOpenRange = 3;
inline constexpr int32_t kFaultOpenSet = 4;
inline constexpr int32_t kFaultEmptySet = 5;
inline constexpr int32_t kFaultBadHex = 7;

// Internal verdicts.
inline constexpr int32_t kBadPattern = 100;  // the matcher met a malformed element
inline constexpr int32_t kGoOn = 101;        // an element matched its text byte
inline constexpr int32_t kAtStar = 102;      // a segment stopped at a "*"

// The check that names the fault of a pattern the extended matcher found
// bad: it scans the whole pattern and returns the first fault it finds:
// kFaultEscapeAtEnd, kFaultOpenRange, kFaultOpenSet, kFaultEmptySet or
// kFaultBadHex; kNoFaultFound when it finds none.  Its reading of sets is
// plainer than the matcher's (inside a set "!", "^" and "~" are ordinary
// bytes), so it can pass a pattern the matcher rejected.
int32_t CheckPattern(const ZeroTerminated& pattern);

}  // namespace twinekit::patterns
