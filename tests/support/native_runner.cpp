#include "support/native_runner.h"

#include <dlfcn.h>

#include <array>
#include <string>
#include <vector>

#include "exports/export_table.h"
#include "frame/platform.h"
#include "support/signature_call.h"
#include "twinekit_test_hooks.h"

namespace tksupport {
namespace {

using tkcases::Arg;
using tkcases::ArgTag;

BSTR MakeBstr(const Arg& a) {
  if (a.tag != ArgTag::kBytes) return nullptr;
  return SysAllocStringByteLen(a.bytes.data(), static_cast<UINT>(a.bytes.size()));
}

std::string BytesOf(BSTR s) {
  return s == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(s), SysStringByteLen(s));
}

// A Variant as a Basic host builds it; a string inside is UTF-16.
VARIANT MakeVariant(const tkcases::VariantArg& v) {
  VARIANT out;
  VariantInit(&out);
  out.vt = v.vt;
  switch (v.vt) {
    case tkcases::kVtI2: out.iVal = static_cast<int16_t>(v.integer); break;
    case tkcases::kVtI4: out.lVal = static_cast<int32_t>(v.integer); break;
    case tkcases::kVtUi1: out.bVal = static_cast<uint8_t>(v.integer); break;
    case tkcases::kVtBool: out.boolVal = static_cast<int16_t>(v.integer); break;
    case tkcases::kVtCy: out.cyVal = v.integer; break;
    case tkcases::kVtR4: out.fltVal = static_cast<float>(v.real); break;
    case tkcases::kVtR8: out.dblVal = v.real; break;
    case tkcases::kVtDate: out.date = v.real; break;
    case tkcases::kVtBstr: {
      std::vector<OLECHAR> wide(v.text.begin(), v.text.end());
      out.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
      break;
    }
    default: break;
  }
  return out;
}

bool SameVariant(const VARIANT& a, const VARIANT& b) {
  if (a.vt != b.vt) return false;
  if (a.vt == VT_BSTR) return a.bstrVal == b.bstrVal && BytesOf(a.bstrVal) == BytesOf(b.bstrVal);
  return a.cyVal == b.cyVal;
}

}  // namespace

void* FindNativeExport(std::string_view name) {
  return dlsym(RTLD_DEFAULT, std::string(name).c_str());
}

tkcases::Outcome RunNative(const tkcases::Case& c, Fault fault, Attempts* attempts) {
  tkcases::Outcome seen;
  const twinekit::ExportInfo* info = twinekit::FindExport(c.fn);
  if (info == nullptr) {
    seen.error = "no export of that name in the export table";
    return seen;
  }
  void* fn = FindNativeExport(c.fn);
  Caller call = FindCaller(info->args, info->result);
  if (fn == nullptr || call == nullptr) {
    seen.error = "the native library does not export it";
    return seen;
  }

  const size_t n = info->args.size();
  std::array<BSTR, 4> strings{};       // the caller's BSTRs
  std::array<BSTR, 4> variables{};     // the caller's variables (by reference)
  std::array<std::string, 4> before{};
  std::array<VARIANT, 4> variants{};
  std::array<VARIANT, 4> variants_before{};
  std::array<Slot, 4> slots{};
  for (size_t i = 0; i < n; ++i) {
    const Arg& a = c.args[i];
    switch (info->args[i]) {
      case 'R':
      case 'W':
        strings[i] = variables[i] = MakeBstr(a);
        slots[i].ref = &variables[i];
        break;
      case 'V':
        strings[i] = MakeBstr(a);
        slots[i].value = strings[i];
        break;
      case 'L': slots[i].number = static_cast<int32_t>(a.number); break;
      case 'I': slots[i].number = IntegerSlot(a.number); break;
      case 'X':
        variants[i] = variants_before[i] = MakeVariant(a.variant);
        slots[i].variant = &variants[i];
        break;
    }
    before[i] = BytesOf(strings[i]);
  }

  if (c.clock >= 0) tk_test_set_clock(c.clock);
  const int64_t scratch_before = tk_test_scratch_allocations();
  const int64_t bstrs_before = tk_test_bstr_allocations();
  if (fault.kind == Fault::kScratch) tk_test_fail_scratch(fault.k, fault.persistent);
  if (fault.kind == Fault::kBstr) tk_test_fail_bstr(fault.k, fault.persistent);
  const Returned r = call(fn, slots.data());
  tk_test_fail_scratch(0, 0);
  tk_test_fail_bstr(0, 0);
  if (attempts != nullptr) {
    attempts->scratch = tk_test_scratch_allocations() - scratch_before;
    attempts->bstrs = tk_test_bstr_allocations() - bstrs_before;
  }
  if (c.clock >= 0) tk_test_set_clock(-1);

  switch (info->result) {
    case 'S':
      seen.result_null = r.string == nullptr;
      for (size_t i = 0; i < n; ++i) {
        if (r.string != nullptr && (r.string == strings[i] ||
                                    reinterpret_cast<void*>(r.string) == &variables[i])) {
          seen.result_aliased = true;
        }
      }
      seen.bytes = BytesOf(r.string);
      if (!seen.result_aliased) SysFreeString(r.string);
      break;
    case 'I':
    case 'L':
      seen.number = r.number;
      break;
    case 'X':
      seen.vt = r.variant.vt;
      seen.number = r.variant.lVal;
      break;
    default:
      break;
  }

  for (size_t i = 0; i < n; ++i) {
    const char kind = info->args[i];
    if ((kind == 'R' || kind == 'W') && variables[i] != strings[i]) {
      seen.changed_argument = "the export replaced the caller's variable " + std::to_string(i + 1);
    } else if (kind == 'W') {
      seen.after = BytesOf(strings[i]);
      if (seen.after.size() != before[i].size()) {
        seen.changed_argument = "the in-place export changed its argument's length";
      }
    } else if ((kind == 'R' || kind == 'V') && BytesOf(strings[i]) != before[i]) {
      seen.changed_argument = "the export changed read-only argument " + std::to_string(i + 1);
    } else if (kind == 'X' && !SameVariant(variants[i], variants_before[i])) {
      seen.changed_argument = "the export changed the caller's Variant";
    }
    SysFreeString(strings[i]);
    if (kind == 'X') VariantClear(&variants[i]);
  }
  return seen;
}

}  // namespace tksupport
