// The native layer's Variant conversion to a Long, which follows the OLE
// rules: floating values and Currency round half to even, numeric text is
// read as a Basic host reads it, and a failed conversion is a status, not a
// value.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "frame/platform.h"

namespace twinekit {
namespace {

struct Conversion {
  VARIANT in;
  HRESULT status;
  int32_t value;
};

VARIANT Make(VARTYPE vt) {
  VARIANT v;
  VariantInit(&v);
  v.vt = vt;
  return v;
}
VARIANT R8(double d) { VARIANT v = Make(VT_R8); v.dblVal = d; return v; }
VARIANT Cy(int64_t scaled) { VARIANT v = Make(VT_CY); v.cyVal = scaled; return v; }

TEST(Variants, ChangeTypeToLong) {
  VARIANT i2 = Make(VT_I2);
  i2.iVal = -7;
  VARIANT boolean = Make(VT_BOOL);
  boolean.boolVal = -1;
  VARIANT r4 = Make(VT_R4);
  r4.fltVal = 2.5f;
  const Conversion rows[] = {
      {Make(VT_EMPTY), S_OK, 0},       {i2, S_OK, -7},
      {boolean, S_OK, -1},             {r4, S_OK, 2},
      {R8(2.5), S_OK, 2},              {R8(3.5), S_OK, 4},
      {R8(-2.5), S_OK, -2},            {R8(2.4999), S_OK, 2},
      {R8(2147483647.4), S_OK, INT32_MAX},
      {R8(2147483647.5), DISP_E_OVERFLOW, 0},
      {R8(-2147483648.5), S_OK, INT32_MIN},
      {Cy(25000), S_OK, 2},            {Cy(35000), S_OK, 4},
      {Cy(-15000), S_OK, -2},          {Cy(15001), S_OK, 2},
      {Make(VT_NULL), DISP_E_TYPEMISMATCH, 0},
  };
  for (const Conversion& row : rows) {
    VARIANT out;
    VariantInit(&out);
    EXPECT_EQ(VariantChangeType(&out, &row.in, 0, VT_I4), row.status) << row.in.vt;
    if (row.status == S_OK) {
      EXPECT_EQ(out.vt, VT_I4);
      EXPECT_EQ(out.lVal, row.value) << row.in.vt;
    }
  }
}

TEST(Variants, ChangeTypeReadsNumericText) {
  struct Row { const char* text; HRESULT status; int32_t value; };
  const Row rows[] = {
      {"12", S_OK, 12},         {" 12 ", S_OK, 12},      {"-3", S_OK, -3},
      {"2.5", S_OK, 2},         {"1,000", S_OK, 1000},   {"1e3", S_OK, 1000},
      {"&HFF", S_OK, 255},      {"&HFFFF", S_OK, -1},    {"&O17", S_OK, 15},
      {"", DISP_E_TYPEMISMATCH, 0}, {"abc", DISP_E_TYPEMISMATCH, 0},
      {"12x", DISP_E_TYPEMISMATCH, 0}, {"3000000000", DISP_E_OVERFLOW, 0},
  };
  for (const Row& row : rows) {
    std::vector<OLECHAR> wide(row.text, row.text + std::strlen(row.text));
    VARIANT in = Make(VT_BSTR);
    in.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    VARIANT copy;
    VariantInit(&copy);
    ASSERT_EQ(VariantCopy(&copy, &in), S_OK);
    EXPECT_NE(copy.bstrVal, in.bstrVal);
    EXPECT_EQ(VariantChangeType(&copy, &copy, 0, VT_I4), row.status) << row.text;
    if (row.status == S_OK) {
      EXPECT_EQ(copy.lVal, row.value) << row.text;
    }
    VariantClear(&copy);
    VariantClear(&in);
  }
}

}  // namespace
}  // namespace twinekit
