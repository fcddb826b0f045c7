// 64-bit Windows: one convention for every function, in which the caller
// removes its own arguments, so a call through a plain function pointer with
// one 64-bit slot per argument is exactly what the host does and the callee
// cannot unbalance the stack.
#include "slot_call.h"

namespace tkhost {

SlotCallResult CallWithSlots(void* fn, std::span<const uintptr_t> s) {
  using U = uintptr_t;
  SlotCallResult out;
  switch (s.size()) {
    case 0: out.returned = reinterpret_cast<U (*)()>(fn)(); break;
    case 1: out.returned = reinterpret_cast<U (*)(U)>(fn)(s[0]); break;
    case 2: out.returned = reinterpret_cast<U (*)(U, U)>(fn)(s[0], s[1]); break;
    case 3: out.returned = reinterpret_cast<U (*)(U, U, U)>(fn)(s[0], s[1], s[2]); break;
    case 4: out.returned = reinterpret_cast<U (*)(U, U, U, U)>(fn)(s[0], s[1], s[2], s[3]); break;
    case 5:
      out.returned = reinterpret_cast<U (*)(U, U, U, U, U)>(fn)(s[0], s[1], s[2], s[3], s[4]);
      break;
    default: out.problem = "the host call cannot pass more than 5 slots"; break;
  }
  return out;
}

}  // namespace tkhost
