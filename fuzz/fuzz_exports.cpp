// A coverage-guided fuzzer over every export of the native library.
//
// The input picks an export and builds its arguments by their kinds:
// strings of any bytes (or null), Longs and Integers biased to the edges
// (0, 1, -1, the bounds, values near 2^16 and 2^31, lengths near the
// string arguments' lengths), Variants of the types a Basic host passes.
// A last byte may ask for one allocation to fail.  After every call the
// invariants that hold for every export are checked: a string result is a
// new, non-null BSTR within the export's size bound, nothing is left
// alive, read-only arguments are unchanged and an in-place argument kept
// its length.
#include <dlfcn.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "exports/export_table.h"
#include "frame/platform.h"
#include "fuzz/result_bounds.h"
#include "support/signature_call.h"
#include "twinekit_test_hooks.h"

namespace {

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool empty() const { return pos_ >= size_; }
  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  uint32_t Word() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | Byte();
    return v;
  }
  std::string Bytes(size_t n) {
    n = std::min(n, size_ - std::min(pos_, size_));
    std::string out(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return out;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

[[noreturn]] void Fail(const char* what, const char* fn) {
  std::fprintf(stderr, "invariant broken by %s: %s\n", fn, what);
  std::abort();
}

// A string argument: null, empty, or a run of the input's bytes.
struct StringArg {
  bool null = false;
  std::string bytes;
};

StringArg ReadString(Input& in) {
  const uint8_t head = in.Byte();
  if (head == 0xFF) return {true, {}};
  if ((head & 0xC0) == 0xC0) {
    // A long run of one byte, to reach the size edges cheaply: up to 4 KiB,
    // or, for one head, up to 64 KiB (past the 16-bit Integer positions).
    // Long runs are rare on purpose: every byte an export reads costs the
    // instrumented build dearly, and throughput is what finds faults.
    const size_t high = head == 0xFE ? in.Byte() : (head & 0x0F);
    const size_t length = (high << 8 | in.Byte()) + 1;
    return {false, std::string(length, static_cast<char>(in.Byte()))};
  }
  size_t length = head & 0x3F;
  if (head & 0x40) length = (length << 8) | in.Byte();  // up to 16 KiB
  return {false, in.Bytes(length)};
}

int64_t ReadLong(Input& in, const std::vector<StringArg>& strings) {
  const uint8_t head = in.Byte();
  const size_t n = strings.empty() ? 0 : strings.front().bytes.size();
  switch (head % 16) {
    case 0: return 0;
    case 1: return 1;
    case 2: return -1;
    case 3: return INT32_MIN;
    case 4: return INT32_MAX;
    case 5: return INT32_MAX - (in.Byte() % 8);
    case 6: return INT32_MIN + (in.Byte() % 8);
    case 7: return 65536 + static_cast<int8_t>(in.Byte());
    case 8: return 32768 + static_cast<int8_t>(in.Byte());
    case 9: return static_cast<int64_t>(n) + static_cast<int8_t>(in.Byte() % 8 - 4);
    case 10: return 0x40000000 + static_cast<int8_t>(in.Byte());
    case 11: return static_cast<int32_t>(in.Word());
    default: return static_cast<int8_t>(in.Byte());
  }
}

VARIANT ReadVariant(Input& in) {
  VARIANT v;
  VariantInit(&v);
  switch (in.Byte() % 11) {
    case 0: break;
    case 1: v.vt = VT_NULL; break;
    case 2: v.vt = VT_I2; v.iVal = static_cast<int16_t>(in.Word()); break;
    case 3: v.vt = VT_I4; v.lVal = static_cast<int32_t>(in.Word()); break;
    case 4: v.vt = VT_UI1; v.bVal = in.Byte(); break;
    case 5: v.vt = VT_BOOL; v.boolVal = (in.Byte() & 1) ? -1 : 0; break;
    case 6: {
      v.vt = VT_R8;
      const uint64_t bits = uint64_t{in.Word()} << 32 | in.Word();
      std::memcpy(&v.dblVal, &bits, sizeof bits);
      break;
    }
    case 7: v.vt = VT_R8; v.dblVal = static_cast<int32_t>(in.Word()) / 4.0; break;
    case 8: v.vt = VT_CY; v.cyVal = int64_t{static_cast<int32_t>(in.Word())} * 2500; break;
    case 9: v.vt = VT_R4; v.fltVal = static_cast<float>(static_cast<int32_t>(in.Word())) / 2; break;
    default: {
      const std::string text = in.Bytes(in.Byte() % 24);
      std::vector<OLECHAR> wide(text.begin(), text.end());
      v.vt = VT_BSTR;
      v.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
      break;
    }
  }
  return v;
}

std::string BytesOf(BSTR s) {
  return s == nullptr ? std::string()
                      : std::string(reinterpret_cast<const char*>(s), SysStringByteLen(s));
}

void* Resolve(const twinekit::ExportInfo& e) {
  static std::array<void*, 64> cache{};
  static std::array<bool, 64> looked{};
  const size_t i = static_cast<size_t>(e.ordinal - 1);
  if (!looked[i]) {
    cache[i] = dlsym(RTLD_DEFAULT, std::string(e.name).c_str());
    looked[i] = true;
  }
  return cache[i];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in(data, size);
  const twinekit::ExportInfo& e = twinekit::kExports[in.Byte() % twinekit::kExports.size()];
  void* fn = Resolve(e);
  const tksupport::Caller call = tksupport::FindCaller(e.args, e.result);
  if (fn == nullptr || call == nullptr) return 0;

  const size_t n = e.args.size();
  std::vector<StringArg> strings;
  std::array<BSTR, 4> bstrs{}, variables{};
  std::array<VARIANT, 4> variants{};
  std::array<tksupport::Slot, 4> slots{};
  std::array<int64_t, 4> numbers{};
  for (size_t i = 0; i < n; ++i) {
    const char kind = e.args[i];
    if (kind == 'R' || kind == 'W' || kind == 'V') {
      StringArg s = ReadString(in);
      if (!s.null) {
        bstrs[i] = SysAllocStringByteLen(s.bytes.data(), static_cast<UINT>(s.bytes.size()));
      }
      variables[i] = bstrs[i];
      slots[i].ref = &variables[i];
      slots[i].value = bstrs[i];
      strings.push_back(std::move(s));
    } else if (kind == 'L' || kind == 'I') {
      numbers[i] = ReadLong(in, strings);
      slots[i].number = kind == 'I' ? tksupport::IntegerSlot(numbers[i])
                                    : static_cast<int32_t>(numbers[i]);
    } else {
      variants[i] = ReadVariant(in);
      slots[i].variant = &variants[i];
    }
  }
  std::array<std::string, 4> before{};
  for (size_t i = 0; i < n; ++i) before[i] = BytesOf(bstrs[i]);

  // The fault byte: none, or the k-th scratch or BSTR allocation failing.
  const uint8_t fault = in.Byte();
  const bool fail_bstr = fault & 0x80;
  if (fault & 0x40) {
    const int64_t k = (fault & 0x0F) + 1;
    if (fail_bstr) tk_test_fail_bstr(k, fault & 0x20);
    else tk_test_fail_scratch(k, fault & 0x20);
  }
  const int64_t live_scratch = tk_test_live_scratch();
  const int64_t live_bstrs = tk_test_live_bstrs();
  const int64_t bstr_failures = tk_test_bstr_failures();

  const tksupport::Returned r = call(fn, slots.data());
  // Made to fail, or too large for the sanitizer's allocation cap.
  const bool bstr_failed = tk_test_bstr_failures() != bstr_failures;
  tk_test_fail_scratch(0, 0);
  tk_test_fail_bstr(0, 0);

  const char* name = e.name.data();
  if (e.result == 'S') {
    if (r.string == nullptr && !bstr_failed) Fail("null string result", name);
    for (size_t i = 0; i < n; ++i) {
      if (r.string != nullptr && (r.string == bstrs[i] || r.string == reinterpret_cast<BSTR>(&variables[i]))) {
        Fail("result is one of the caller's BSTRs", name);
      }
    }
    std::array<uint64_t, 4> lengths{};
    for (size_t i = 0; i < n; ++i) lengths[i] = before[i].size();
    const uint64_t bound = tkfuzz::ResultBound(e, lengths, numbers, before);
    if (SysStringByteLen(r.string) > bound) Fail("result longer than the export's bound", name);
    // Touch every byte: the sanitizer sees a count larger than the block.
    volatile uint8_t sink = 0;
    const auto* bytes = reinterpret_cast<const uint8_t*>(r.string);
    for (UINT i = 0, count = SysStringByteLen(r.string); i < count; ++i) sink = sink ^ bytes[i];
    SysFreeString(r.string);
  } else if (e.result == 'X') {
    if (r.variant.vt != VT_I4) Fail("Variant result not of subtype Long", name);
  }
  if (tk_test_live_scratch() != live_scratch) Fail("scratch buffer left alive", name);

  // The caller's own strings, freed below; anything else alive then leaked.
  int64_t own = 0;
  for (size_t i = 0; i < n; ++i) {
    own += bstrs[i] != nullptr;
    own += e.args[i] == 'X' && variants[i].vt == VT_BSTR;
  }
  for (size_t i = 0; i < n; ++i) {
    const char kind = e.args[i];
    if ((kind == 'R' || kind == 'W') && variables[i] != bstrs[i]) Fail("variable replaced", name);
    const std::string after = BytesOf(bstrs[i]);
    if (kind == 'W' && after.size() != before[i].size()) Fail("in-place length changed", name);
    if ((kind == 'R' || kind == 'V') && after != before[i]) Fail("read-only argument changed", name);
    SysFreeString(bstrs[i]);
    if (kind == 'X') VariantClear(&variants[i]);
  }
  if (tk_test_live_bstrs() != live_bstrs - own) Fail("BSTR left alive", name);
  return 0;
}
