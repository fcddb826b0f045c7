// The native layer's conversion of a Variant to a Long where the exports
// cannot show it, since a value below 1, one out of the Long range and a
// failed conversion all give cArabicToRoman's empty result: negative
// halves, the edges of the Long range, the status of a failure.  And the
// Variants by reference that a Basic host passes for a variable given to a
// Variant parameter, converted on a copy as the export converts them.
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
VARIANT ByRef(VARTYPE vt, void* address) {
  VARIANT v = Make(vt | kByRef);
  std::memcpy(&v.lVal, &address, sizeof address);
  return v;
}

TEST(Variants, ChangeTypeToLong) {
  int32_t long_variable = 14;
  BSTR text_variable = Wide("12");
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
