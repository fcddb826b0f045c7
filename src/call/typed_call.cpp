#include "call/typed_call.h"

#include <type_traits>
#include <utility>

#include "call/prototype_fits.h"

namespace twinekit::call {
namespace {

template <typename T>
T Get(const Slots& s, size_t i) {
  if constexpr (std::is_same_v<T, BSTR*>) return s.variables[i];
  else if constexpr (std::is_same_v<T, BSTR>) return s.strings[i];
  else if constexpr (std::is_same_v<T, int32_t>) return s.numbers[i];
  else return s.variants[i];
}

template <auto F>
struct Typed;

// A Variant result comes back by value natively and, on Windows, through
// the address the caller passes first.
template <typename R, typename... A, R(TK_CALL* F)(A...)>
struct Typed<F> {
  static constexpr bool kResultFirst = std::is_same_v<R, VARIANT*>;
  static constexpr size_t kFirst = kResultFirst ? 1 : 0;

  static constexpr bool Fits(std::string_view args, char result) {
    if (args.size() + kFirst != sizeof...(A)) return false;
    size_t i = 0;
    if constexpr (kResultFirst) {
      return result == 'X' && ((i++ == 0 || ArgumentFits<A>(args[i - 2])) && ...);
    } else {
      return ResultFits<R>(result) && (ArgumentFits<A>(args[i++]) && ...);
    }
  }

  static void Call(const Slots& s, Result& out) { Call(s, out, std::index_sequence_for<A...>{}); }

  template <typename T, size_t I>
  static T Pick(const Slots& s, Result& out) {
    if constexpr (kResultFirst && I == 0) return &out.variant;
    else return Get<T>(s, I - kFirst);
  }

  template <size_t... I>
  static void Call(const Slots& s, Result& out, std::index_sequence<I...>) {
    if constexpr (std::is_void_v<R> || kResultFirst) F(Pick<A, I>(s, out)...);
    else if constexpr (std::is_same_v<R, BSTR>) out.string = F(Pick<A, I>(s, out)...);
    else if constexpr (std::is_same_v<R, VARIANT>) out.variant = F(Pick<A, I>(s, out)...);
    else out.number = F(Pick<A, I>(s, out)...);
  }
};

#define TK_CHECK_PROTOTYPE(name, ordinal, args, result, params) \
  static_assert(Typed<&::name>::Fits(args, result),     \
                #name ": twinekit.h and the export table disagree");
TK_EXPORT_TABLE(TK_CHECK_PROTOTYPE)
#undef TK_CHECK_PROTOTYPE

#define TK_CALLER(name, ordinal, args, result, params) &Typed<&::name>::Call,
constexpr std::array<Caller, 64> kCallers = {TK_EXPORT_TABLE(TK_CALLER)};
#undef TK_CALLER

}  // namespace

Caller CallerOf(const ExportInfo& e) { return kCallers[static_cast<size_t>(e.ordinal - 1)]; }

}  // namespace twinekit::call
