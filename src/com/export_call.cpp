#include "com/export_call.h"

#include <array>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "com/ansi_strings.h"
#include "exports/prototype_fits.h"
#include "twinekit.h"

namespace twinekit::com {
namespace {

constexpr size_t kMaxArgs = 4;

// The argument slots of one call, by the type each parameter has.
struct Slots {
  std::array<BSTR*, kMaxArgs> refs{};
  std::array<BSTR, kMaxArgs> values{};
  std::array<int32_t, kMaxArgs> numbers{};
  std::array<VARIANT*, kMaxArgs> variants{};

  template <typename T>
  T Get(size_t i) const {
    if constexpr (std::is_same_v<T, BSTR*>) return refs[i];
    else if constexpr (std::is_same_v<T, BSTR>) return values[i];
    else if constexpr (std::is_same_v<T, int32_t>) return numbers[i];
    else return variants[i];
  }
};

struct Returned {
  BSTR string = nullptr;
  int32_t number = 0;
  VARIANT variant{};
};

using twinekit::ArgumentFits;
using twinekit::ResultFits;

// An export called through its prototype in twinekit.h.  An export with a
// Variant result writes it through the address passed first.
template <auto F>
struct Typed;

template <typename R, typename... A, R(TK_CALL* F)(A...)>
struct Typed<F> {
  static constexpr bool kResultFirst = std::is_same_v<R, VARIANT*>;
  static constexpr size_t kFirst = kResultFirst ? 1 : 0;

  static constexpr bool Fits(std::string_view args, char result) {
    size_t i = 0;
    if (args.size() + kFirst != sizeof...(A)) return false;
    if (kResultFirst) return result == 'X' && ((i++ == 0 || ArgumentFits<A>(args[i - 2])) && ...);
    return ResultFits<R>(result) && (ArgumentFits<A>(args[i++]) && ...);
  }

  static void Call(const Slots& s, Returned& out) { Call(s, out, std::index_sequence_for<A...>{}); }

  template <typename T, size_t I>
  static T Pick(const Slots& s, Returned& out) {
    if constexpr (kResultFirst && I == 0) return &out.variant;
    else return s.Get<T>(I - kFirst);
  }

  template <size_t... I>
  static void Call(const Slots& s, Returned& out, std::index_sequence<I...>) {
    if constexpr (std::is_void_v<R> || kResultFirst) F(Pick<A, I>(s, out)...);
    else if constexpr (std::is_same_v<R, BSTR>) out.string = F(Pick<A, I>(s, out)...);
    else out.number = F(Pick<A, I>(s, out)...);
  }
};

#define TK_CHECK_PROTOTYPE(name, ordinal, args, result) \
  static_assert(Typed<&::name>::Fits(args, result),     \
                #name ": twinekit.h and the export table disagree");
TK_EXPORT_TABLE(TK_CHECK_PROTOTYPE)
#undef TK_CHECK_PROTOTYPE

#define TK_CALLER(name, ordinal, args, result) &Typed<&::name>::Call,
constexpr std::array<void (*)(const Slots&, Returned&), 64> kCallers = {
    TK_EXPORT_TABLE(TK_CALLER)};
#undef TK_CALLER

// The Variant an argument stands for: a reference to a Variant followed.
VARIANT* Referenced(VARIANT* v) {
  return v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal != nullptr ? v->pvarVal : v;
}

// Arrays, objects and records convert to no string or number here, so that
// a conversion never calls back into the caller's objects.
bool Unconvertible(VARTYPE vt) {
  const VARTYPE base = vt & VT_TYPEMASK;
  return (vt & VT_ARRAY) != 0 || base == VT_DISPATCH || base == VT_UNKNOWN ||
         base == VT_RECORD || base == VT_VARIANT;
}

// A copy of v converted to vt by the system's rules.  A Boolean becomes
// "True" or "False" as Basic writes it.
HRESULT Converted(VARIANT* v, VARTYPE vt, VARIANT* out) {
  VariantInit(out);
  if (Unconvertible(v->vt)) return DISP_E_TYPEMISMATCH;
  VARIANT plain;  // a value by reference, read first
  VariantInit(&plain);
  HRESULT hr = VariantCopyInd(&plain, v);
  if (SUCCEEDED(hr)) hr = VariantChangeType(out, &plain, vt == VT_BSTR ? VARIANT_ALPHABOOL : 0, vt);
  VariantClear(&plain);
  return hr;
}

// Where an in-place string goes back: the caller's String variable, or the
// Variant variable, which holds a String from then on.  arg comes by
// reference.
BSTR* WriteBackTarget(VARIANT* arg) {
  if (arg->vt == (VT_BYREF | VT_BSTR)) return arg->pbstrVal;
  VARIANT* held = arg->pvarVal;
  if (held->vt == (VT_BYREF | VT_BSTR) && held->pbstrVal != nullptr) return held->pbstrVal;
  VariantClear(held);
  held->vt = VT_BSTR;
  held->bstrVal = nullptr;
  return &held->bstrVal;
}

// The arguments of one call as the export takes them, released at the end.
class CallArguments {
 public:
  CallArguments() = default;
  CallArguments(const CallArguments&) = delete;
  CallArguments& operator=(const CallArguments&) = delete;
  ~CallArguments() {
    for (BSTR b : bytes_) SysFreeString(b);
  }

  HRESULT Read(size_t i, char kind, VARIANT* arg) {
    VARIANT* v = Referenced(arg);
    switch (kind) {
      case 'R':
      case 'W':
      case 'V': return ReadString(i, v);
      case 'L': return ReadNumber(i, v, VT_I4);
      case 'I': return ReadNumber(i, v, VT_I2);
      default:
        // The Variant goes to the export as the caller gave it, as a
        // Declare call passes the address of the caller's Variant: the
        // export converts a copy, and so decides what a reference holds
        // (a reference to a reference, or to Null, gives its empty result).
        variants_[i] = arg;
        return S_OK;
    }
  }

  Slots slots() {
    Slots s;
    for (size_t i = 0; i < kMaxArgs; ++i) {
      s.refs[i] = &bytes_[i];
      s.values[i] = bytes_[i];
      s.numbers[i] = numbers_[i];
      s.variants[i] = variants_[i];
    }
    return s;
  }

  // Gives argument i's bytes back to the caller's variable, if it has one.
  HRESULT WriteBack(size_t i, VARIANT* arg) const {
    const bool by_reference = (arg->vt == (VT_BYREF | VT_BSTR) && arg->pbstrVal != nullptr) ||
                              (arg->vt == (VT_BYREF | VT_VARIANT) && arg->pvarVal != nullptr);
    if (!by_reference) return S_OK;
    BSTR wide = nullptr;
    const HRESULT hr = WideFromAnsi(bytes_[i], &wide);
    if (FAILED(hr)) return hr;
    BSTR* target = WriteBackTarget(arg);
    SysFreeString(*target);
    *target = wide;
    return S_OK;
  }

 private:
  HRESULT ReadString(size_t i, VARIANT* v) {
    if (v->vt == VT_BSTR) return AnsiFromWide(v->bstrVal, &bytes_[i]);
    if (v->vt == (VT_BYREF | VT_BSTR)) {
      return AnsiFromWide(v->pbstrVal != nullptr ? *v->pbstrVal : nullptr, &bytes_[i]);
    }
    VARIANT text;
    HRESULT hr = Converted(v, VT_BSTR, &text);
    if (SUCCEEDED(hr)) hr = AnsiFromWide(text.bstrVal, &bytes_[i]);
    VariantClear(&text);
    return hr;
  }

  HRESULT ReadNumber(size_t i, VARIANT* v, VARTYPE vt) {
    VARIANT number;
    const HRESULT hr = Converted(v, vt, &number);
    if (SUCCEEDED(hr)) numbers_[i] = vt == VT_I2 ? number.iVal : number.lVal;
    VariantClear(&number);
    return hr;
  }

  std::array<BSTR, kMaxArgs> bytes_{};
  std::array<int32_t, kMaxArgs> numbers_{};
  std::array<VARIANT*, kMaxArgs> variants_{};  // the caller's own
};

// The export's result as a Variant; a string result is freed here.
HRESULT ResultVariant(char kind, Returned& r, VARIANT* out) {
  VariantInit(out);
  switch (kind) {
    case 'S': {
      BSTR wide = nullptr;
      const HRESULT hr = WideFromAnsi(r.string, &wide);
      SysFreeString(r.string);
      if (FAILED(hr)) return hr;
      out->vt = VT_BSTR;
      out->bstrVal = wide;
      return S_OK;
    }
    case 'I':
      out->vt = VT_I2;
      out->iVal = static_cast<SHORT>(r.number);
      return S_OK;
    case 'L':
      out->vt = VT_I4;
      out->lVal = r.number;
      return S_OK;
    case 'X': *out = r.variant; return S_OK;
    default: return S_OK;
  }
}

}  // namespace

HRESULT CallExport(const ExportInfo& e, VARIANT* const* args, VARIANT* result, UINT* bad) {
  CallArguments call;
  for (size_t i = 0; i < e.args.size(); ++i) {
    const HRESULT hr = call.Read(i, e.args[i], args[i]);
    if (FAILED(hr)) {
      if (bad != nullptr) *bad = static_cast<UINT>(i);
      return hr;
    }
  }
  Returned r;
  kCallers[static_cast<size_t>(e.ordinal - 1)](call.slots(), r);
  HRESULT hr = S_OK;
  for (size_t i = 0; i < e.args.size() && SUCCEEDED(hr); ++i) {
    if (e.args[i] == 'W') hr = call.WriteBack(i, args[i]);
  }
  const HRESULT made = ResultVariant(e.result, r, result);
  return FAILED(hr) ? hr : made;
}

}  // namespace twinekit::com
