// Calls an export for a behaviour case as a Basic host does, and records
// what the call gave and everything the host would have suffered from.
#pragma once

#include <cstdint>

#include "cases/case_file.h"
#include "exports/export_table.h"

namespace tkharness {

// What the host leaves in the parts of a number's slot that the argument
// does not fill: the upper 16 bits of an Integer's slot (and on 64-bit, the
// upper 32 bits of every Long's and Integer's register).  Each case with an
// Integer argument runs with both patterns, so that reading the upper bits
// shows whichever sign it gives.
inline constexpr uint64_t kSlotGarbage[] = {0x5A5A5A5AA5C30000u, 0xC3A5C3A55A3C0000u};

tkcases::Outcome CallAsBasicHost(void* fn, const tkcases::Case& c, uint64_t garbage);

}  // namespace tkharness
