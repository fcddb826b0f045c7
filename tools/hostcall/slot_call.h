// The Windows call: an export's address called with its arguments laid out
// as the host's slots, the way the platform's Basic host makes the call,
// with any breach of the calling convention that the host would suffer
// from reported.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "host_call.h"

namespace tkhost {

struct SlotCallResult {
  uintptr_t returned = 0;  // the return register, whole
  std::string problem;     // empty, or the convention breach that was seen
};

// Calls fn with slots pushed right to left (32-bit, stdcall: the callee
// must remove exactly 4 bytes per slot) or passed in the 64-bit convention's
// registers and stack slots (slot_call_x86.cpp, slot_call_x64.cpp).
SlotCallResult CallWithSlots(void* fn, std::span<const uintptr_t> slots);

// The call of the export at fn on the host's arguments: the declared
// arguments' slots in order, and for a Variant result the address of the
// host's result Variant passed ahead of them, which the export must return.
Caller SlotCaller(void* fn);

}  // namespace tkhost
