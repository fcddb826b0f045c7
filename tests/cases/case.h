// Behaviour cases: one export called with given arguments and the result it
// must give.  The same tables run through the native library and through
// the DLLs under Wine, so this header uses nothing but the standard library.
//
//   {"cGetIn", {S("a|b|c"), S("|"), N(2)}, Str("b")}
//   {"cFill", {S("HELLO"), S("ab")}, Int(-1).After("ababa")}
//
// Arguments are given in the export's order; their kinds come from the
// export table.  N(v) serves Longs and Integers: an Integer slot carries
// v's low 16 bits, with garbage in the upper 16 that the export must ignore.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace tkcases {

using namespace std::literals;

enum class ArgTag : uint8_t { kBytes, kNull, kNumber, kVariant };

// A Variant argument as the host builds it.  A VT_BSTR variant holds text,
// widened to UTF-16 by the runner as a Basic host does.
struct VariantArg {
  uint16_t vt = 0;
  int64_t integer = 0;  // VT_I2, VT_I4, VT_UI1, VT_BOOL, VT_CY (value × 10000)
  double real = 0;      // VT_R4, VT_R8, VT_DATE
  std::string_view text;
};

struct Arg {
  ArgTag tag = ArgTag::kNull;
  std::string_view bytes;
  int64_t number = 0;
  VariantArg variant;
};

constexpr Arg S(std::string_view bytes) { return {ArgTag::kBytes, bytes, 0, {}}; }
constexpr Arg Null() { return {ArgTag::kNull, {}, 0, {}}; }
constexpr Arg N(int64_t value) { return {ArgTag::kNumber, {}, value, {}}; }
constexpr Arg Var(VariantArg v) { return {ArgTag::kVariant, {}, 0, v}; }

// Variant types, as numbered by OLE Automation.
inline constexpr uint16_t kVtEmpty = 0, kVtNull = 1, kVtI2 = 2, kVtI4 = 3, kVtR4 = 4,
                          kVtR8 = 5, kVtCy = 6, kVtDate = 7, kVtBstr = 8, kVtBool = 11,
                          kVtUi1 = 17;

constexpr Arg VarEmpty() { return Var({kVtEmpty, 0, 0, {}}); }
constexpr Arg VarNull() { return Var({kVtNull, 0, 0, {}}); }
constexpr Arg VarI2(int16_t v) { return Var({kVtI2, v, 0, {}}); }
constexpr Arg VarI4(int32_t v) { return Var({kVtI4, v, 0, {}}); }
constexpr Arg VarUi1(uint8_t v) { return Var({kVtUi1, v, 0, {}}); }
constexpr Arg VarBool(bool v) { return Var({kVtBool, v ? -1 : 0, 0, {}}); }
constexpr Arg VarR4(float v) { return Var({kVtR4, 0, v, {}}); }
constexpr Arg VarR8(double v) { return Var({kVtR8, 0, v, {}}); }
constexpr Arg VarDate(double v) { return Var({kVtDate, 0, v, {}}); }
constexpr Arg VarCy(int64_t scaled) { return Var({kVtCy, scaled, 0, {}}); }
constexpr Arg VarStr(std::string_view text) { return Var({kVtBstr, 0, 0, text}); }

enum class Want : uint8_t { kBytes, kNumber, kVariant, kNothing };

struct Expect {
  Want want = Want::kNothing;
  std::string_view bytes;  // kBytes
  int64_t number = 0;      // kNumber (compared at the result's width), kVariant
  uint16_t vt = 0;         // kVariant
  bool has_after = false;  // the in-place argument's bytes after the call
  std::string_view after;

  constexpr Expect After(std::string_view bytes_after) const {
    Expect e = *this;
    e.has_after = true;
    e.after = bytes_after;
    return e;
  }
};

constexpr Expect Str(std::string_view bytes) { return {Want::kBytes, bytes, 0, 0, false, {}}; }
constexpr Expect Empty() { return Str(""); }
constexpr Expect Int(int64_t value) { return {Want::kNumber, {}, value, 0, false, {}}; }
constexpr Expect True() { return Int(-1); }
constexpr Expect False() { return Int(0); }
constexpr Expect VarLong(int32_t value) { return {Want::kVariant, {}, value, kVtI4, false, {}}; }
constexpr Expect Nothing() { return {Want::kNothing, {}, 0, 0, false, {}}; }

struct Case {
  std::string_view fn;
  std::array<Arg, 4> args;
  Expect want;
  // When not negative, the clock (seconds since 1970) the call must see.
  // Only the native runner can fix the clock; other runners skip the case.
  int64_t clock = -1;
};

// A named table of cases, run in order (a case may depend on state that an
// earlier one left, such as the default separator; a table leaves that
// state as it found it).
struct CaseTable {
  std::string_view family;
  std::span<const Case> cases;
};

// All tables linked into this program, in registration order.
std::span<const CaseTable> AllTables();

// Registers a table at start-up: `const tkcases::Registered r{"fields", kCases};`
struct Registered {
  Registered(std::string_view family, std::span<const Case> cases);
};

}  // namespace tkcases
