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
//
// Nothing here depends on the platform: the DLL harness reads the same text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tkhost {

// Variant types, as numbered by OLE Automation.
inline constexpr uint16_t kVtEmpty = 0, kVtNull = 1, kVtI2 = 2, kVtI4 = 3, kVtR4 = 4,
                          kVtR8 = 5, kVtCy = 6, kVtDate = 7, kVtBstr = 8, kVtBool = 11,
                          kVtUi1 = 17;

struct VariantValue {
  uint16_t vt = kVtEmpty;
  int64_t integer = 0;  // I2, I4, UI1, BOOL, CY (the value times 10000)
  double real = 0;      // R4, R8, DATE
  std::string text;     // BSTR: each byte one UTF-16 character
};

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
