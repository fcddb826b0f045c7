// The native call: each export through its own prototype in twinekit.h,
// which must agree with the export table's kinds (checked at compile time).
#include <type_traits>
#include <utility>

#include "host_call.h"
#include "exports/prototype_fits.h"

namespace tkhost {
namespace {

using twinekit::ArgumentFits;
using twinekit::ResultFits;

// Argument i as the parameter type T of the prototype takes it; a number
// is the low 32 bits of its slot.
template <typename T>
T Get(HostArgs& a, size_t i) {
  if constexpr (std::is_same_v<T, BSTR*>) return a.variable(i);
  else if constexpr (std::is_same_v<T, BSTR>) return a.string(i);
  else if constexpr (std::is_same_v<T, int32_t>) return static_cast<int32_t>(static_cast<uint32_t>(a.number_slot(i)));
  else return a.variant(i);
}

template <auto F>
struct Typed;

template <typename R, typename... A, R (*F)(A...)>
struct Typed<F> {
  static constexpr bool Fits(std::string_view args, char result) {
    size_t i = 0;
    return args.size() == sizeof...(A) && ResultFits<R>(result) &&
           (ArgumentFits<A>(args[i++]) && ...);
  }

  static Returned Call(HostArgs& a) { return Call(a, std::index_sequence_for<A...>{}); }

  template <size_t... I>
  static Returned Call(HostArgs& a, std::index_sequence<I...>) {
    Returned out;
    if constexpr (std::is_void_v<R>) F(Get<A>(a, I)...);
    else if constexpr (std::is_same_v<R, BSTR>) out.string = F(Get<A>(a, I)...);
    else if constexpr (std::is_same_v<R, VARIANT>) out.variant = F(Get<A>(a, I)...);
    else out.number = F(Get<A>(a, I)...);
    return out;
  }
};

#define TK_CHECK_PROTOTYPE(name, ordinal, args, result)   \
  static_assert(Typed<&::name>::Fits(args, result),       \
                #name ": twinekit.h and the export table disagree");
TK_EXPORT_TABLE(TK_CHECK_PROTOTYPE)
#undef TK_CHECK_PROTOTYPE

#define TK_CALLER(name, ordinal, args, result) &Typed<&::name>::Call,
constexpr std::array<Returned (*)(HostArgs&), 64> kCallers = {TK_EXPORT_TABLE(TK_CALLER)};
#undef TK_CALLER

}  // namespace

TypedCall TypedCallOf(const twinekit::ExportInfo& e) {
  return kCallers[static_cast<size_t>(e.ordinal - 1)];
}

Returned CallTyped(HostArgs& args) { return TypedCallOf(args.info())(args); }

}  // namespace tkhost
