// A coverage-guided fuzzer over the COM object's IDispatch work, natively:
// random DISPPARAMS (every Variant type, by value and by reference, nested
// references, missing arguments, named and positional, wrong counts, long
// strings) for random members, each call made once and, on a sample of
// inputs, again with every BSTR allocation failed in turn.
//
// After every call: a failed call changed nothing of the caller's (its
// arguments, the variables they point to, the result Variant, which holds
// garbage that must never be read or freed); a successful one gave a
// result of the export's kind and changed nothing but an in-place
// argument's variable; and nothing is left alive once the caller has
// freed what it owns.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "com/dispatch_call.h"
#include "exports/export_table.h"
#include "fuzz/input_format.h"
#include "twinekit_test_hooks.h"

namespace {

[[noreturn]] void Fail(const char* what, DISPID member) {
  std::fprintf(stderr, "invariant broken (member %d): %s\n", static_cast<int>(member), what);
  std::abort();
}

// Storage a by-reference argument points into, one per argument.
struct Cells {
  VARIANT held;     // a Variant variable (VT_BYREF | VT_VARIANT)
  VARIANT deeper;   // what a nested reference points to
  BSTR variable;    // a String variable
  uint8_t scalar[16];  // a number's variable, or a Decimal's
};

// A caller's object or array: never followed by the object, so any
// address that is not null will do.
uint8_t opaque[16];

BSTR MakeText(tkfuzz::Input& in) {
  const uint8_t head = in.Byte();
  size_t units = head & 0x3F;
  if (head & 0x40) units = units << 8 | in.Byte();
  if (head == 0xFF) units = size_t{1} << 19;  // a long string, now and then
  BSTR s = SysAllocStringLen(nullptr, static_cast<UINT>(units));
  if (s == nullptr) return nullptr;
  const std::string bytes = in.Bytes(2 * units);
  std::memcpy(s, bytes.data(), bytes.size());
  return s;
}

// A value of a plain type: its type, then its bytes at the value's place.
void ReadPlain(tkfuzz::Input& in, VARIANT& v) {
  static constexpr VARTYPE kTypes[] = {VT_EMPTY, VT_NULL, VT_I2,   VT_I4,    VT_R4,  VT_R8,
                                       VT_CY,    VT_DATE, VT_BSTR, VT_ERROR, VT_BOOL, VT_DECIMAL,
                                       VT_I1,    VT_UI1,  VT_UI2,  VT_UI4,   VT_I8,  VT_UI8,
                                       VT_INT,   VT_UINT, VT_DISPATCH, VT_UNKNOWN,
                                       static_cast<VARTYPE>(VT_ARRAY | VT_I4), 99};
  VariantInit(&v);
  const VARTYPE vt = kTypes[in.Byte() % std::size(kTypes)];
  if (vt == VT_DECIMAL) {
    const std::string bytes = in.Bytes(16);
    std::memcpy(&v, bytes.data(), bytes.size());
  }
  v.vt = vt;
  switch (vt) {
    case VT_BSTR: v.bstrVal = MakeText(in); break;
    case VT_ERROR: v.lVal = in.Byte() & 1 ? DISP_E_PARAMNOTFOUND : static_cast<int32_t>(in.Word()); break;
    case VT_DISPATCH: case VT_UNKNOWN: case VT_ARRAY | VT_I4: {
      void* p = in.Byte() & 1 ? opaque : nullptr;
      std::memcpy(&v.lVal, &p, sizeof p);
      break;
    }
    case VT_DECIMAL: break;
    default: {
      const uint32_t low = in.Word(), high = in.Word();
      std::memcpy(&v.lVal, &low, 4);
      std::memcpy(reinterpret_cast<uint8_t*>(&v.lVal) + 4, &high, 4);
    }
  }
}

// An argument: plain, by reference to a variable of its type, or by
// reference to a Variant variable (which may itself refer on).
void ReadArgument(tkfuzz::Input& in, VARIANT& arg, Cells& cells) {
  const uint8_t how = in.Byte() % 4;
  if (how == 0 || how == 3) {
    ReadPlain(in, arg);
    if (how == 3 && arg.vt != VT_EMPTY && (arg.vt & VT_ARRAY) == 0) {
      // By reference: the value moves into the variable the argument names.
      const VARTYPE vt = arg.vt;
      void* target = cells.scalar;
      if (vt == VT_BSTR) {
        cells.variable = arg.bstrVal;
        target = &cells.variable;
      } else if (vt == VT_DECIMAL) {
        std::memcpy(cells.scalar, &arg, 16);
      } else {
        std::memcpy(cells.scalar, &arg.lVal, 8);
      }
      VariantInit(&arg);
      arg.vt = static_cast<VARTYPE>(VT_BYREF | vt);
      std::memcpy(&arg.lVal, &target, sizeof target);
    }
    return;
  }
  VariantInit(&arg);
  arg.vt = VT_BYREF | VT_VARIANT;
  VARIANT* target = &cells.held;
  std::memcpy(&arg.lVal, &target, sizeof target);
  if (how == 2) {  // a Variant variable that refers on
    cells.held.vt = VT_BYREF | VT_VARIANT;
    VARIANT* deeper = &cells.deeper;
    std::memcpy(&cells.held.lVal, &deeper, sizeof deeper);
    ReadPlain(in, cells.deeper);
  } else {
    ReadPlain(in, cells.held);
  }
}

// One call's arguments, built from the input; what the caller owns is
// freed at the end, wherever a write-back put it.
struct Call {
  DISPID member = 0;
  WORD flags = 0;
  std::vector<VARIANT> rgvarg;
  std::vector<DISPID> named;
  std::vector<Cells> cells;

  ~Call() {
    for (size_t i = 0; i < rgvarg.size(); ++i) {
      VariantClear(&rgvarg[i]);  // a String by value; a reference frees nothing
      SysFreeString(cells[i].variable);
      VariantClear(&cells[i].held);
      VariantClear(&cells[i].deeper);
    }
  }

  DISPPARAMS Params() {
    return {rgvarg.data(), named.data(), static_cast<UINT>(rgvarg.size()),
            static_cast<UINT>(named.size())};
  }

  // The caller's memory as bytes: the arguments, their variables, and the
  // text of each String among them.
  std::string Snapshot() const {
    std::string s(reinterpret_cast<const char*>(rgvarg.data()), rgvarg.size() * sizeof(VARIANT));
    for (const Cells& c : cells) {
      s.append(reinterpret_cast<const char*>(&c), sizeof c);
      for (const BSTR b : {c.variable, c.held.vt == VT_BSTR ? c.held.bstrVal : nullptr}) {
        if (b != nullptr) s.append(reinterpret_cast<const char*>(b), SysStringByteLen(b));
      }
    }
    return s;
  }
};

void Read(tkfuzz::Input& in, Call& c) {
  c.member = static_cast<DISPID>(in.Byte() % 70);
  c.flags = static_cast<WORD>(in.Byte() % 4);
  const size_t count = in.Byte() % 6;
  c.rgvarg.resize(count);
  c.cells.resize(count);  // zeroed: Empty Variants, null Strings
  for (size_t i = 0; i < count; ++i) ReadArgument(in, c.rgvarg[i], c.cells[i]);
  const size_t named = count == 0 ? 0 : in.Byte() % (count + 1);
  for (size_t j = 0; j < named; ++j) c.named.push_back(static_cast<DISPID>(in.Byte() % 6) - 1);
}

char ResultKind(DISPID member) {
  return twinekit::kExports[static_cast<size_t>(member - 1)].result;
}

bool ResultFits(char kind, const VARIANT& r) {
  switch (kind) {
    case 'S': return r.vt == VT_BSTR && r.bstrVal != nullptr;
    case 'I': return r.vt == VT_I2;
    case 'L': case 'X': return r.vt == VT_I4;
    default: return r.vt == VT_EMPTY;
  }
}

// Makes the call once, failing BSTR allocation k (none when 0); true when
// the call made fewer than k allocations, so that failing k changed nothing.
bool CallAndCheck(const uint8_t* data, size_t size, int64_t k) {
  const int64_t live = tk_test_live_bstrs();
  int64_t made = 0;
  {
    tkfuzz::Input in(data, size);
    Call c;
    Read(in, c);
    DISPPARAMS params = c.Params();
    const std::string before = c.Snapshot();
    VARIANT result;
    std::memset(&result, 0xA5, sizeof result);  // garbage: never read, never freed
    result.vt = VT_BSTR;
    const VARIANT garbage = result;
    const int64_t start = tk_test_bstr_allocations();
    if (k > 0) tk_test_fail_bstr(k, 0);
    UINT bad = 0;
    const HRESULT hr = twinekit::com::InvokeExport(c.member, c.flags, &params, &result, &bad);
    tk_test_fail_bstr(0, 0);
    made = tk_test_bstr_allocations() - start;
    if (FAILED(hr)) {
      if (std::memcmp(&result, &garbage, sizeof result) != 0) Fail("failed call wrote its result", c.member);
      if (c.Snapshot() != before) Fail("failed call changed the caller's arguments", c.member);
      if (bad >= c.rgvarg.size() && bad != 0) Fail("refused argument out of range", c.member);
    } else {
      if (!ResultFits(ResultKind(c.member), result)) Fail("result of the wrong kind", c.member);
      VariantClear(&result);
      const bool in_place = twinekit::kExports[static_cast<size_t>(c.member - 1)].args[0] == 'W';
      if (!in_place && c.Snapshot() != before) Fail("call changed a read-only argument", c.member);
    }
  }
  if (tk_test_live_bstrs() != live) Fail("BSTR left alive", 0);
  return made < k;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CallAndCheck(data, size, 0);
  // One input in sixteen: every allocation of the call failed in turn.
  if (size > 0 && data[size - 1] % 16 == 0) {
    for (int64_t k = 1; !CallAndCheck(data, size, k); ++k) {
    }
  }
  return 0;
}
