// The native layer's conversion of a Variant to a Long where the exports
// cannot show it, since a value below 1, one out of the Long range and a
// failed conversion all give cArabicToRoman's empty result: negative
// halves, the edges of the Long range, the status of a failure.  And the
// Variants by reference that a Basic host passes for a variable given to a
// Variant parameter, converted on a copy as the export converts them; the
// edges of every whole-number subtype and of Decimal; numeric text that
// gives a negative number.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "frame/platform.h"

namespace twinekit {
namespace {

constexpr VARTYPE kByRef = 0x4000;

VARIANT Make(VARTYPE vt) {
  VARIANT v;
  VariantInit(&v);
  v.vt = vt;
  return v;
}
VARIANT R8(double d) { VARIANT v = Make(VT_R8); v.dblVal = d; return v; }
VARIANT Cy(int64_t scaled) { VARIANT v = Make(VT_CY); v.cyVal = scaled; return v; }
BSTR Wide(const char* text) {
  const std::vector<OLECHAR> wide(text, text + std::strlen(text));
  return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}
VARIANT Text(const char* text) { VARIANT v = Make(VT_BSTR); v.bstrVal = Wide(text); return v; }
VARIANT ByRef(VARTYPE vt, const void* address) {
  VARIANT v = Make(vt | kByRef);
  std::memcpy(&v.lVal, &address, sizeof address);
  return v;
}
VARIANT Whole(VARTYPE vt, uint64_t bits) {
  VARIANT v = Make(vt);
  std::memcpy(&v.lVal, &bits, sizeof bits);
  return v;
}
// A DECIMAL by value fills the Variant: the vt over its reserved bytes.
VARIANT Dec(uint8_t scale, uint8_t sign, uint32_t high, uint64_t low) {
  VARIANT v = Make(VT_DECIMAL);
  auto* bytes = reinterpret_cast<uint8_t*>(&v);
  bytes[2] = scale;
  bytes[3] = sign;
  std::memcpy(bytes + 4, &high, sizeof high);
  std::memcpy(bytes + 8, &low, sizeof low);
  return v;
}
// An address no conversion may read through.
const void* const kUnreadable = reinterpret_cast<const void*>(uintptr_t{16});

TEST(Variants, ChangeTypeToLong) {
  int32_t long_variable = 14;
  BSTR text_variable = Wide("12");
  VARIANT variant_variable = Cy(-25000);
  const VARIANT reference_variable = ByRef(VT_VARIANT, &variant_variable);
  struct Conversion {
    VARIANT in;
    HRESULT status;
    int32_t value;
  } rows[] = {
      {Make(VT_EMPTY), S_OK, 0},
      {Make(VT_NULL), DISP_E_TYPEMISMATCH, 0},
      {R8(-2.5), S_OK, -2},
      {R8(2147483647.4), S_OK, INT32_MAX},
      {R8(2147483647.5), DISP_E_OVERFLOW, 0},
      {R8(-2147483648.5), S_OK, INT32_MIN},
      {Cy(-15000), S_OK, -2},
      {Text("-3"), S_OK, -3},
      {Text("abc"), DISP_E_TYPEMISMATCH, 0},
      {Text("3000000000"), DISP_E_OVERFLOW, 0},
      {ByRef(VT_I4, &long_variable), S_OK, 14},
      {ByRef(VT_BSTR, &text_variable), S_OK, 12},
      // the edges of the Long range in every whole-number subtype
      {Whole(VT_I1, 0x80), S_OK, -128},
      {Whole(VT_UI2, 0xFFFF), S_OK, 65535},
      {Whole(VT_UI4, 0x7FFFFFFF), S_OK, INT32_MAX},
      {Whole(VT_UINT, 0x80000000), DISP_E_OVERFLOW, 0},
      {Whole(VT_INT, 0x80000000), S_OK, INT32_MIN},
      {Whole(VT_I8, static_cast<uint64_t>(int64_t{INT32_MIN})), S_OK, INT32_MIN},
      {Whole(VT_I8, static_cast<uint64_t>(int64_t{INT32_MIN} - 1)), DISP_E_OVERFLOW, 0},
      {Whole(VT_UI8, uint64_t{1} << 63), DISP_E_OVERFLOW, 0},
      // Decimal: negative halves, the Long range, and malformed scales and signs
      {Dec(1, 0x80, 0, 25), S_OK, -2},
      {Dec(0, 0x80, 0, 2147483648), S_OK, INT32_MIN},
      {Dec(0, 0, 0, 2147483648), DISP_E_OVERFLOW, 0},
      {Dec(29, 0, 0, 5), E_INVALIDARG, 0},
      {Dec(0, 0x01, 0, 5), E_INVALIDARG, 0},
      // 12.5 with 25 places: every Double step rounded, on every width, as
      // 64-bit Windows rounds them, lands just above the half
      {Dec(25, 0, 0x6765C7, 0x93FA10079D000000), S_OK, 13},
      // numeric text whose value the exports cannot show
      {Text("(12)"), S_OK, -12},
      {Text("12-"), S_OK, -12},
      {Text("-$1,000"), S_OK, -1000},
      {Text("&HFFFF"), S_OK, -1},
      {Text("-&HFFFF"), S_OK, -65535},
      {Text("&H80000000"), S_OK, INT32_MIN},
      {Text("-&H80000000"), DISP_E_OVERFLOW, 0},
      {Text("-2147483648.5"), S_OK, INT32_MIN},
      {Text("-2147483649.5"), DISP_E_OVERFLOW, 0},
      {Text("(-12)"), DISP_E_TYPEMISMATCH, 0},
      {Text("1e99999999999999999999"), DISP_E_OVERFLOW, 0},
      // a reference to a Variant; never one to a reference to a Variant,
      // and nothing read behind a type that does not convert
      {ByRef(VT_VARIANT, &variant_variable), S_OK, -2},
      {ByRef(VT_VARIANT, &reference_variable), E_INVALIDARG, 0},
      {ByRef(VT_VARIANT, nullptr), E_INVALIDARG, 0},
      {ByRef(VT_ERROR, kUnreadable), DISP_E_TYPEMISMATCH, 0},
      {ByRef(9 /* object */, kUnreadable), DISP_E_BADVARTYPE, 0},
      {Whole(9 /* object */, reinterpret_cast<uintptr_t>(kUnreadable)), DISP_E_BADVARTYPE, 0},
      {ByRef(0x2003 /* array */, kUnreadable), DISP_E_BADVARTYPE, 0},
  };
  for (Conversion& row : rows) {
    VARIANT copy;
    VariantInit(&copy);
    ASSERT_EQ(VariantCopy(&copy, &row.in), S_OK);
    if (row.in.vt == VT_BSTR) {
      EXPECT_NE(copy.bstrVal, row.in.bstrVal);
    }
    EXPECT_EQ(VariantChangeType(&copy, &copy, 0, VT_I4), row.status) << row.in.vt;
    if (row.status == S_OK) {
      EXPECT_EQ(copy.vt, VT_I4);
      EXPECT_EQ(copy.lVal, row.value) << row.in.vt;
    }
    VariantClear(&copy);
    VariantClear(&row.in);
  }
  EXPECT_EQ(long_variable, 14);
  EXPECT_EQ(SysStringLen(text_variable), 2u);
  SysFreeString(text_variable);
}

}  // namespace
}  // namespace twinekit
