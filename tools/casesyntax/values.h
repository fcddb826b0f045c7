// The values of a host call written as text: tkcall's argument syntax, which
// the behaviour case files use too.
//
//   'a|b'  '|'*3  'ab'+'\x00'*2   a quoted string: pieces joined by +, each
//                                 repeated by *N; escapes \xHH \0 \t \n \r
//                                 \\ \' inside
//   a|b                           an unquoted string (the same escapes)
//   @null                         a null BSTR
//   -5  0x7FFF                    a Long or Integer, decimal or hexadecimal
//   empty  null  i2:N  i4:N  ui1:N  bool:true  r4:X  r8:X  date:X  cy:X
//   str:'TEXT'                    Variants; a bare number is an i4, or an r8
//                                 when it has a fraction
//   i1:N  ui2:N  ui4:N  i8:N  ui8:N  int:N  uint:N  dec:X  error:N
//                                 the other numeric subtypes (dec: a
//                                 Decimal, up to 29 digits and 28 places)
//   vt:N                          a Variant of raw type N, its value zero
//   ref:T:V                       by reference: the Variant points to a
//                                 host variable of type T holding V
//   ref:var:X                     by reference to a host Variant holding X
//
// Nothing here depends on the platform: the DLL harness reads the same text.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tkhost {

// Variant types, as numbered by OLE Automation.
inline constexpr uint16_t kVtEmpty = 0, kVtNull = 1, kVtI2 = 2, kVtI4 = 3, kVtR4 = 4,
                          kVtR8 = 5, kVtCy = 6, kVtDate = 7, kVtBstr = 8, kVtBool = 11,
                          kVtError = 10, kVtVariant = 12, kVtDecimal = 14, kVtI1 = 16,
                          kVtUi1 = 17, kVtUi2 = 18, kVtUi4 = 19, kVtI8 = 20, kVtUi8 = 21,
                          kVtInt = 22, kVtUint = 23, kVtByRef = 0x4000;

struct VariantValue {
  uint16_t vt = kVtEmpty;
  int64_t integer = 0;  // the whole-number types, ui8 as its bits; CY (the
                        // value times 10000); the low 64 bits of a DECIMAL
  double real = 0;      // R4, R8, DATE
  std::string text;     // BSTR: each byte one UTF-16 character
  uint32_t high = 0;    // DECIMAL: the high 32 bits, the scale and the sign
  uint8_t scale = 0;
  bool negative = false;
  std::vector<VariantValue> referent;  // VT_BYREF | VT_VARIANT: the Variant pointed to
};

// The 16 bytes of a Variant holding v's value, laid out as OLE Automation
// lays them out (vt first, the value at offset 8, a DECIMAL over all 16),
// for every type but BSTR and the by-reference types, whose value is a
// pointer the host makes.
std::array<uint8_t, 16> VariantImage(const VariantValue& v);

// One argument of a call, or one expected result.
struct Value {
  enum Tag : uint8_t { kBytes, kNull, kNumber, kVariant } tag = kNull;
  std::string bytes;
  int64_t number = 0;
  VariantValue variant;
};

// Reads one value of an argument or result kind: R, W, V (strings), L, I
// (numbers), X (Variant); S reads a string, N nothing.  Empty on a syntax
// error.
std::optional<Value> ParseValue(char kind, std::string_view text);

// Writes a value back in the same syntax.
std::string FormatValue(const Value& v);

// Bytes as a quoted string of the syntax, runs of a byte written as *N.
std::string Quote(std::string_view bytes);

}  // namespace tkhost
