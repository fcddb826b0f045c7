// Calls an export with its arguments already laid out as the host's slots,
// the way the platform's Basic host makes the call, and reports any breach
// of the calling convention that the host would suffer from.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tkharness {

struct SlotCallResult {
  uintptr_t returned = 0;  // the return register, whole
  std::string problem;     // empty, or the convention breach that was seen
};

// Calls fn with slots pushed right to left (32-bit, stdcall: the callee
// must remove exactly 4 bytes per slot) or passed in the 64-bit convention's
// registers and stack slots.
SlotCallResult CallWithSlots(void* fn, std::span<const uintptr_t> slots);

}  // namespace tkharness
