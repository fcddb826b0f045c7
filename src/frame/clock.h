// The seed from the clock: calendar time in whole seconds since
// 1970-01-01 00:00:00 UTC, as 32 bits.
#pragma once

#include <cstdint>

namespace twinekit {

// All 32 bits set (-1) for a time before 1970 or past the 32-bit range.
uint32_t SeedFromClock();

}  // namespace twinekit
