// The library's pseudo-random generator, a linear congruential generator
// whose state is library-wide: 1 at load, changed only by seeding and
// drawing.  It is the same on every platform.
#pragma once

#include <cstdint>

namespace twinekit {

void SeedGenerator(uint32_t seed);

// Advances the state and returns bits 16 to 30 of it: 0 to 32767.
int DrawFromGenerator();

}  // namespace twinekit
