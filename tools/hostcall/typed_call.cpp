// The native call: the host's arguments handed to the library's one call
// layer, which calls the export through its own prototype.
#include <utility>

#include "call/typed_call.h"
#include "host_call.h"

namespace tkhost {
namespace {

// A number goes as the low 32 bits of its slot.
twinekit::call::Slots SlotsOf(HostArgs& a) {
  twinekit::call::Slots s;
  for (size_t i = 0; i < a.count(); ++i) {
    s.variables[i] = a.variable(i);
    s.strings[i] = a.string(i);
    s.numbers[i] = static_cast<int32_t>(static_cast<uint32_t>(a.number_slot(i)));
    s.variants[i] = a.variant(i);
  }
  return s;
}

template <size_t E>
Returned Call(HostArgs& a) {
  twinekit::call::Result r;
  twinekit::call::CallerOf(twinekit::kExports[E])(SlotsOf(a), r);
  Returned out;
  out.string = r.string;
  out.number = r.number;
  out.variant = r.variant;
  return out;
}

template <size_t... E>
constexpr std::array<TypedCall, sizeof...(E)> Callers(std::index_sequence<E...>) {
  return {&Call<E>...};
}
constexpr auto kCallers = Callers(std::make_index_sequence<twinekit::kExports.size()>{});

}  // namespace

TypedCall TypedCallOf(const twinekit::ExportInfo& e) {
  return kCallers[static_cast<size_t>(e.ordinal - 1)];
}

Returned CallTyped(HostArgs& args) { return TypedCallOf(args.info())(args); }

}  // namespace tkhost
