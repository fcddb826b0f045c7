#include "slot_call.h"

#include <array>

namespace tkhost {

Caller SlotCaller(void* fn) {
  return [fn](HostArgs& a) {
    // No allocation here: the timing program calls through this too.
    std::array<uintptr_t, HostArgs::kMaxArgs + 1> slots{};
    size_t n = 0;
    Returned out;
    VariantInit(&out.variant);
    if (ResultKindOf(a.info().result) == ResultKind::kVariant) {
      slots[n++] = reinterpret_cast<uintptr_t>(&out.variant);
    }
    for (size_t i = 0; i < a.count(); ++i) {
      switch (a.kind(i)) {
        case ArgKind::kString:
        case ArgKind::kStringInPlace: slots[n++] = reinterpret_cast<uintptr_t>(a.variable(i)); break;
        case ArgKind::kStringByValue: slots[n++] = reinterpret_cast<uintptr_t>(a.string(i)); break;
        case ArgKind::kLong:
        case ArgKind::kInteger: slots[n++] = static_cast<uintptr_t>(a.number_slot(i)); break;
        case ArgKind::kVariant: slots[n++] = reinterpret_cast<uintptr_t>(a.variant(i)); break;
      }
    }
    const SlotCallResult call = CallWithSlots(fn, std::span(slots).first(n));
    out.problem = call.problem;
    switch (ResultKindOf(a.info().result)) {
      case ResultKind::kString: out.string = reinterpret_cast<BSTR>(call.returned); break;
      case ResultKind::kInteger: out.number = static_cast<int16_t>(call.returned & 0xFFFFu); break;
      case ResultKind::kLong: out.number = static_cast<int32_t>(call.returned & 0xFFFFFFFFu); break;
      case ResultKind::kVariant:
        if (call.returned != reinterpret_cast<uintptr_t>(&out.variant) && out.problem.empty()) {
          out.problem = "the Variant export did not return the result address it was given";
        }
        break;
      case ResultKind::kNone: break;
    }
    return out;
  };
}

}  // namespace tkhost
