// The answers of the extended matcher.  The export returns the public codes
// as they stand; the internal verdicts never leave the family.
#pragma once

#include <cstdint>

namespace twinekit::patterns {

// Public codes.
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

}  // namespace twinekit::patterns
