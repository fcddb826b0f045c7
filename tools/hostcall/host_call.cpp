#include "host_call.h"

#include <cstring>
#include <vector>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TK_HOST_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define TK_HOST_ASAN 1
#endif
#ifdef TK_HOST_ASAN
#include <sanitizer/asan_interface.h>
#define TK_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define TK_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define TK_POISON(p, n) ((void)(p), (void)(n))
#define TK_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace tkhost {
namespace {

// The guard pattern: not zero, so an export that ran past the terminator
// and rewrote it with zeros is seen too.
uint8_t GuardByte(uint32_t i) { return static_cast<uint8_t>(0xA0 + i); }

uint32_t& CountOf(BSTR s) { return reinterpret_cast<uint32_t*>(s)[-1]; }

std::u16string TextOf(const VARIANT& v) {
  if (v.vt != VT_BSTR || v.bstrVal == nullptr) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(v.bstrVal), SysStringLen(v.bstrVal));
}

}  // namespace

VARIANT MakeVariant(const VariantValue& v) {
  VARIANT out;
  VariantInit(&out);
  out.vt = v.vt;
  switch (v.vt) {
    case VT_I2: out.iVal = static_cast<int16_t>(v.integer); break;
    case VT_I4: out.lVal = static_cast<int32_t>(v.integer); break;
    case VT_UI1: out.bVal = static_cast<uint8_t>(v.integer); break;
    case VT_BOOL: out.boolVal = static_cast<int16_t>(v.integer); break;
    case VT_CY: std::memcpy(&out.cyVal, &v.integer, sizeof v.integer); break;
    case VT_R4: out.fltVal = static_cast<float>(v.real); break;
    case VT_R8: out.dblVal = v.real; break;
    case VT_DATE: out.date = v.real; break;
    case VT_BSTR: {
      std::vector<OLECHAR> wide;
      for (unsigned char c : v.text) wide.push_back(c);
      out.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
      break;
    }
    default: break;
  }
  return out;
}

namespace {

// An Integer's slot: the value in the low 16 bits, garbage above.  A
// Long's: the value in the low 32 bits, garbage above (64-bit slots only).
uint64_t NumberSlot(int64_t value, ArgKind kind, uint64_t garbage) {
  if (kind == ArgKind::kInteger) return garbage | (static_cast<uint64_t>(value) & 0xFFFFu);
  return (garbage & 0xFFFFFFFF00000000u) | (static_cast<uint64_t>(value) & 0xFFFFFFFFu);
}

}  // namespace

ArgKind ArgKindOf(char letter) {
  switch (letter) {
    case 'W': return ArgKind::kStringInPlace;
    case 'V': return ArgKind::kStringByValue;
    case 'L': return ArgKind::kLong;
    case 'I': return ArgKind::kInteger;
    case 'X': return ArgKind::kVariant;
    default: return ArgKind::kString;
  }
}

ResultKind ResultKindOf(char letter) {
  switch (letter) {
    case 'S': return ResultKind::kString;
    case 'I': return ResultKind::kInteger;
    case 'L': return ResultKind::kLong;
    case 'X': return ResultKind::kVariant;
    default: return ResultKind::kNone;
  }
}

std::string BytesOf(BSTR s) {
  if (s == nullptr) return {};
  return std::string(reinterpret_cast<const char*>(s), SysStringByteLen(s));
}

HostBstr::HostBstr(const Value& arg) {
  if (arg.tag != Value::kBytes) return;
  original_.assign(arg.bytes);
  const auto n = static_cast<uint32_t>(original_.size());
  std::vector<char> made(n + kGuard);
  std::memcpy(made.data(), original_.data(), n);
  for (uint32_t i = 2; i < kGuard; ++i) made[n + i] = static_cast<char>(GuardByte(i));
  bstr_ = SysAllocStringByteLen(made.data(), n + kGuard);
  if (bstr_ == nullptr) return;
  CountOf(bstr_) = n;
  reinterpret_cast<uint8_t*>(bstr_)[n] = reinterpret_cast<uint8_t*>(bstr_)[n + 1] = 0;
  TK_POISON(reinterpret_cast<uint8_t*>(bstr_) + n + 2, kGuard - 2);
}

HostBstr::~HostBstr() {
  if (bstr_ == nullptr) return;
  const auto n = static_cast<uint32_t>(original_.size());
  TK_UNPOISON(reinterpret_cast<uint8_t*>(bstr_) + n + 2, kGuard - 2);
  CountOf(bstr_) = n + kGuard;
  SysFreeString(bstr_);
}

std::string HostBstr::CheckBounds() const {
  if (bstr_ == nullptr) return {};
  const auto n = static_cast<uint32_t>(original_.size());
  if (CountOf(bstr_) != n) {
    return "changed the byte count of its argument from " + std::to_string(n) + " to " +
           std::to_string(CountOf(bstr_));
  }
  const auto* bytes = reinterpret_cast<const uint8_t*>(bstr_);
  TK_UNPOISON(bytes + n + 2, kGuard - 2);
  bool intact = bytes[n] == 0 && bytes[n + 1] == 0;
  for (uint32_t i = 2; i < kGuard; ++i) intact = intact && bytes[n + i] == GuardByte(i);
  TK_POISON(bytes + n + 2, kGuard - 2);
  if (!intact) return "wrote past the byte count of its argument";
  return {};
}

bool HostBstr::Contains(const void* p) const {
  if (bstr_ == nullptr || p == nullptr) return false;
  const auto* start = reinterpret_cast<const char*>(bstr_) - sizeof(uint32_t);
  const auto* end = reinterpret_cast<const char*>(bstr_) + original_.size() + kGuard;
  const auto* q = static_cast<const char*>(p);
  return q >= start && q < end;
}

HostArgs::HostArgs(const twinekit::ExportInfo& e, std::span<const Value> values, uint64_t garbage)
    : export_(e) {
  for (size_t i = 0; i < count() && i < values.size(); ++i) {
    const Value& v = values[i];
    switch (kind(i)) {
      case ArgKind::kString:
      case ArgKind::kStringInPlace:
      case ArgKind::kStringByValue:
        strings_[i] = std::make_unique<HostBstr>(v);
        variables_[i] = strings_[i]->get();
        break;
      case ArgKind::kLong:
      case ArgKind::kInteger: numbers_[i] = NumberSlot(v.number, kind(i), garbage); break;
      case ArgKind::kVariant:
        variants_[i] = variants_before_[i] = MakeVariant(v.variant);
        variant_texts_[i] = TextOf(variants_[i]);
        break;
    }
  }
}

HostArgs::~HostArgs() {
  for (VARIANT& v : variants_) VariantClear(&v);
}

std::string HostArgs::Check() {
  for (size_t i = 0; i < count(); ++i) {
    const std::string n = std::to_string(i + 1);
    const ArgKind k = kind(i);
    if (k == ArgKind::kVariant) {
      if (std::memcmp(&variants_[i], &variants_before_[i], sizeof(VARIANT)) != 0 ||
          TextOf(variants_[i]) != variant_texts_[i]) {
        return "the export changed the caller's Variant " + n;
      }
      continue;
    }
    if (!strings_[i]) continue;
    const HostBstr& s = *strings_[i];
    if (k != ArgKind::kStringByValue && variables_[i] != s.get()) {
      variables_[i] = s.get();  // the host's own again, so that it is freed once
      return "the export replaced the caller's variable " + n;
    }
    if (std::string bounds = s.CheckBounds(); !bounds.empty()) return "the export " + bounds + " " + n;
    if (k != ArgKind::kStringInPlace && BytesOf(s.get()) != s.original()) {
      return "the export changed read-only argument " + n;
    }
  }
  return {};
}

bool HostArgs::IsHostMemory(const void* p) const {
  if (p == nullptr) return false;
  for (size_t i = 0; i < count(); ++i) {
    if (strings_[i] && strings_[i]->Contains(p)) return true;
    if (p == &variables_[i] || p == &variants_[i]) return true;
    if (variants_[i].vt == VT_BSTR && p == variants_[i].bstrVal) return true;
  }
  return false;
}

std::string HostArgs::CheckResult(BSTR r) const {
  if (r == nullptr) return {};
  if (IsHostMemory(r)) return "the result is one of the caller's BSTRs";
  // A BSTR made for exactly its length has its terminator right after the
  // byte count; one made larger and cut down by rewriting the count has not.
  const auto* bytes = reinterpret_cast<const uint8_t*>(r);
  const size_t n = SysStringByteLen(r);
  if (bytes[n] != 0 || bytes[n + 1] != 0) {
    return "the result's byte count is not its length (no terminator after it)";
  }
  return {};
}

tkcases::Outcome RunCase(const tkcases::Case& c, const Caller& call, uint64_t garbage,
                         CallWatch* watch) {
  tkcases::Outcome seen;
  HostArgs args(*c.info, c.args, garbage);
  if (watch != nullptr) watch->Before();
  Returned r = call(args);
  const ResultKind result = ResultKindOf(c.info->result);
  const void* string_result = result == ResultKind::kString ? r.string : nullptr;
  seen.error = r.problem;
  if (watch != nullptr) {
    std::string problem = watch->After(string_result);
    if (seen.error.empty()) seen.error = std::move(problem);
  }
  switch (result) {
    case ResultKind::kString: {
      seen.result_null = r.string == nullptr;
      seen.bytes = BytesOf(r.string);
      seen.result_aliased = args.IsHostMemory(r.string);
      std::string problem = args.CheckResult(r.string);
      if (seen.error.empty() && !seen.result_aliased) seen.error = std::move(problem);
      if (!seen.result_aliased) SysFreeString(r.string);  // not the host's to free
      break;
    }
    case ResultKind::kInteger:
    case ResultKind::kLong: seen.number = r.number; break;
    case ResultKind::kVariant:
      seen.vt = r.variant.vt;
      seen.number = r.variant.lVal;
      VariantClear(&r.variant);
      break;
    case ResultKind::kNone: break;
  }
  seen.changed_argument = args.Check();
  if (args.count() > 0 && args.kind(0) == ArgKind::kStringInPlace) seen.after = args.Bytes(0);
  return seen;
}

std::string CheckCase(const tkcases::Case& c, const Caller& call, CallWatch* watch) {
  const bool integers = c.info->args.find('I') != std::string_view::npos;
  for (size_t p = 0; p < (integers ? std::size(kSlotGarbage) : 1); ++p) {
    const tkcases::Outcome seen = RunCase(c, call, kSlotGarbage[p], watch);
    if (std::string problem = tkcases::CheckOutcome(c, seen); !problem.empty()) {
      return problem + (integers ? " [slot garbage " + std::to_string(p) + "]" : "");
    }
  }
  return {};
}

}  // namespace tkhost
