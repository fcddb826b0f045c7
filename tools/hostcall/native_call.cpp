#include "native_call.h"

#include <type_traits>

namespace tkhost {

std::string BytesOf(BSTR s) {
  if (s == nullptr) return {};
  return std::string(reinterpret_cast<const char*>(s), SysStringByteLen(s));
}

namespace {

// The argument slots of one call, by the type each parameter has.
struct Slots {
  std::array<BSTR*, HostCall::kMaxArgs> refs{};
  std::array<BSTR, HostCall::kMaxArgs> values{};
  std::array<int32_t, HostCall::kMaxArgs> numbers{};
  std::array<VARIANT*, HostCall::kMaxArgs> variants{};

  template <typename T>
  T Get(size_t i) const {
    if constexpr (std::is_same_v<T, BSTR*>) return refs[i];
    else if constexpr (std::is_same_v<T, BSTR>) return values[i];
    else if constexpr (std::is_same_v<T, int32_t>) return numbers[i];
    else return variants[i];
  }
};

template <typename T>
constexpr bool ArgumentFits(char kind) {
  if constexpr (std::is_same_v<T, BSTR*>) return kind == 'R' || kind == 'W';
  else if constexpr (std::is_same_v<T, BSTR>) return kind == 'V';
  else if constexpr (std::is_same_v<T, int32_t>) return kind == 'L' || kind == 'I';
  else if constexpr (std::is_same_v<T, VARIANT*>) return kind == 'X';
  else return false;
}

template <typename R>
constexpr bool ResultFits(char kind) {
  if constexpr (std::is_same_v<R, BSTR>) return kind == 'S';
  else if constexpr (std::is_same_v<R, int16_t>) return kind == 'I';
  else if constexpr (std::is_same_v<R, int32_t>) return kind == 'L';
  else if constexpr (std::is_same_v<R, VARIANT>) return kind == 'X';
  else if constexpr (std::is_void_v<R>) return kind == 'N';
  else return false;
}

// An export called through its prototype in twinekit.h.
template <auto F>
struct Typed;

template <typename R, typename... A, R (*F)(A...)>
struct Typed<F> {
  static constexpr bool Fits(std::string_view args, char result) {
    size_t i = 0;
    return args.size() == sizeof...(A) && ResultFits<R>(result) &&
           (ArgumentFits<A>(args[i++]) && ...);
  }

  static Returned Call(const Slots& s) { return Call(s, std::index_sequence_for<A...>{}); }

  template <size_t... I>
  static Returned Call(const Slots& s, std::index_sequence<I...>) {
    Returned out;
    if constexpr (std::is_void_v<R>) F(s.Get<A>(I)...);
    else if constexpr (std::is_same_v<R, BSTR>) out.string = F(s.Get<A>(I)...);
    else if constexpr (std::is_same_v<R, VARIANT>) out.variant = F(s.Get<A>(I)...);
    else out.number = F(s.Get<A>(I)...);
    return out;
  }
};

#define TK_CHECK_PROTOTYPE(name, ordinal, args, result)   \
  static_assert(Typed<&::name>::Fits(args, result),       \
                #name ": twinekit.h and the export table disagree");
TK_EXPORT_TABLE(TK_CHECK_PROTOTYPE)
#undef TK_CHECK_PROTOTYPE

#define TK_CALLER(name, ordinal, args, result) &Typed<&::name>::Call,
constexpr std::array<Returned (*)(const Slots&), 64> kCallers = {TK_EXPORT_TABLE(TK_CALLER)};
#undef TK_CALLER

BSTR MakeBstr(const Value& v) {
  if (v.tag != Value::kBytes) return nullptr;
  return SysAllocStringByteLen(v.bytes.data(), static_cast<UINT>(v.bytes.size()));
}

// The 32-bit slot of an Integer argument as a host leaves it: the value in
// the low 16 bits and garbage in the upper 16, which the export must ignore.
int32_t IntegerSlot(int64_t value) {
  return static_cast<int32_t>(0xA5C30000u | (static_cast<uint32_t>(value) & 0xFFFFu));
}

}  // namespace

HostCall::HostCall(const twinekit::ExportInfo& e, std::span<const Value> values) : export_(e) {
  for (size_t i = 0; i < e.args.size() && i < values.size(); ++i) {
    const Value& v = values[i];
    switch (e.args[i]) {
      case 'R':
      case 'W':
      case 'V': strings_[i] = variables_[i] = MakeBstr(v); break;
      case 'L': numbers_[i] = static_cast<int32_t>(v.number); break;
      case 'I': numbers_[i] = IntegerSlot(v.number); break;
      case 'X': variants_[i] = std::make_unique<HostVariant>(v.variant); break;
    }
    before_[i] = BytesOf(strings_[i]);
  }
}

HostCall::~HostCall() {
  for (size_t i = 0; i < kMaxArgs; ++i) {
    SysFreeString(strings_[i]);
  }
}

Returned HostCall::Invoke() {
  Slots s;
  for (size_t i = 0; i < kMaxArgs; ++i) {
    s.refs[i] = &variables_[i];
    s.values[i] = strings_[i];
    s.numbers[i] = numbers_[i];
    s.variants[i] = variants_[i] ? variants_[i]->get() : nullptr;
  }
  return kCallers[static_cast<size_t>(export_.ordinal - 1)](s);
}

std::string HostCall::CheckArguments() const {
  for (size_t i = 0; i < export_.args.size(); ++i) {
    const char kind = export_.args[i];
    const std::string n = std::to_string(i + 1);
    if ((kind == 'R' || kind == 'W') && variables_[i] != strings_[i]) {
      return "the export replaced the caller's variable " + n;
    }
    if (kind == 'W' && Bytes(i).size() != before_[i].size()) {
      return "the in-place export changed the length of argument " + n;
    }
    if ((kind == 'R' || kind == 'V') && Bytes(i) != before_[i]) {
      return "the export changed read-only argument " + n;
    }
    if (kind == 'X' && variants_[i] && !variants_[i]->Unchanged()) {
      return "the export changed the caller's Variant " + n;
    }
  }
  return {};
}

bool HostCall::IsHostMemory(const void* r) const {
  for (size_t i = 0; i < kMaxArgs; ++i) {
    if (r != nullptr && (r == strings_[i] || r == &variables_[i])) return true;
    if (variants_[i] && variants_[i]->Holds(r)) return true;
  }
  return false;
}

tkcases::Outcome RunCase(const tkcases::Case& c, CallWatch* watch) {
  tkcases::Outcome seen;
  Returned r;
  {
    HostCall call(*c.info, c.args);
    if (watch != nullptr) watch->Before();
    r = call.Invoke();
    if (watch != nullptr) watch->After();
    switch (c.info->result) {
      case 'S':
        seen.result_null = r.string == nullptr;
        seen.result_aliased = call.IsHostMemory(r.string);
        seen.bytes = BytesOf(r.string);
        break;
      case 'I':
      case 'L': seen.number = r.number; break;
      case 'X':
        seen.vt = r.variant.vt;
        seen.number = r.variant.lVal;
        break;
    }
    seen.changed_argument = call.CheckArguments();
    if (c.info->args.starts_with('W')) seen.after = call.Bytes(0);
  }
  if (!seen.result_aliased) SysFreeString(r.string);
  return seen;
}

}  // namespace tkhost
