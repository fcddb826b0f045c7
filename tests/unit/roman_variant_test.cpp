// cArabicToRoman's Variants beyond the cases: by-reference ones, read and
// left alone, and the ones no Long comes from.  (Every case checks that the
// caller's Variant and its string are left exactly as they were.)
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "frame/platform.h"
#include "support/host_string.h"
#include "twinekit.h"
#include "twinekit_test_hooks.h"

namespace {

constexpr VARTYPE kByRef = 0x4000;

BSTR WideText(const std::string& text) {
  const std::vector<OLECHAR> wide(text.begin(), text.end());
  return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

std::string Numeral(VARIANT* v) { return tksupport::Take(cArabicToRoman(v)); }

TEST(RomanVariant, ByReferenceVariants) {
  int32_t number = 14;
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4 | kByRef;
  int32_t* address = &number;
  std::memcpy(&v.lVal, &address, sizeof address);
  EXPECT_EQ(Numeral(&v), "xiv");
  EXPECT_EQ(number, 14);
  EXPECT_EQ(v.vt, VT_I4 | kByRef);

  BSTR text = WideText("12");
  v.vt = VT_BSTR | kByRef;
  BSTR* text_address = &text;
  std::memcpy(&v.lVal, &text_address, sizeof text_address);
  const int64_t live = tk_test_live_bstrs();
  EXPECT_EQ(Numeral(&v), "xii");
  EXPECT_EQ(tk_test_live_bstrs(), live);
  SysFreeString(text);
}

// A Variant that cannot become a Long gives the empty result, as 0 does.
TEST(RomanVariant, FailedConversionsGiveTheEmptyResult) {
  EXPECT_EQ(Numeral(nullptr), "");

  VARIANT v;
  VariantInit(&v);
  v.vt = VT_ERROR;
  EXPECT_EQ(Numeral(&v), "");
  v.vt = 0x2003;  // an array of Longs: not a type a Long comes from
  EXPECT_EQ(Numeral(&v), "");
  v.vt = VT_BSTR;
  v.bstrVal = nullptr;
  EXPECT_EQ(Numeral(&v), "");
  v.vt = VT_R8;
  v.dblVal = 2147483647.5;  // rounds to 2^31, past the Long range
  EXPECT_EQ(Numeral(&v), "");
  v.dblVal = 1.0 / 0.0;
  EXPECT_EQ(Numeral(&v), "");
  v.dblVal = 0.0 / 0.0;
  EXPECT_EQ(Numeral(&v), "");
}

}  // namespace
