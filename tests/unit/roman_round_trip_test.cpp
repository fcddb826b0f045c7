// Roman numerals through the exports: every value up to 257,000 is written
// whole (and read back to itself) or not at all, and the reader's sum wraps
// as a Long.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "frame/platform.h"
#include "support/host_string.h"
#include "twinekit.h"

namespace {

std::string Numeral(int32_t value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
  return tksupport::Take(cArabicToRoman(&v));
}

VARIANT ValueVariant(const std::string& numeral) {
  tksupport::HostString s(numeral);
  return cRomanToArabic(s.ref());
}

int32_t Value(const std::string& numeral) {
  const VARIANT v = ValueVariant(numeral);
  EXPECT_EQ(v.vt, VT_I4);
  return v.lVal;
}

// Every value up to 245,887 fits the 256-byte working area; past it a
// numeral fits only while it has at most 256 letters, and one that does not
// is never cut short: the result is empty.
TEST(RomanRoundTrip, EveryValueIsWrittenWholeOrNotAtAll) {
  int fitted_past_bound = 0;
  for (int32_t value = 1; value <= 257000; ++value) {
    const std::string numeral = Numeral(value);
    if (numeral.empty()) {
      ASSERT_GT(value, 245887);
      continue;
    }
    ASSERT_LE(numeral.size(), 256u) << value;
    ASSERT_EQ(Value(numeral), value) << numeral;
    fitted_past_bound += value > 245887;
  }
  EXPECT_GT(fitted_past_bound, 0);
}

TEST(RomanRoundTrip, SumWrapsAroundAsALong) {
  const std::string ms(2147484, 'm');  // 2,147,484,000 is past the Long range
  EXPECT_EQ(Value(ms), static_cast<int32_t>(2147484000u));
  EXPECT_EQ(Value(ms + "xx"), static_cast<int32_t>(2147484020u));
  EXPECT_EQ(Value(std::string(2147483, 'm') + "dcxlvii"), INT32_MAX);
}

TEST(RomanRoundTrip, ResultIsAWholeLongVariant) {
  const VARIANT v = ValueVariant("mcmxciv");
  EXPECT_EQ(v.vt, VT_I4);
  EXPECT_EQ(v.wReserved1, 0);
  EXPECT_EQ(v.wReserved2, 0);
  EXPECT_EQ(v.wReserved3, 0);
  EXPECT_EQ(v.lVal, 1994);

  const VARIANT from_null_address = cRomanToArabic(nullptr);
  EXPECT_EQ(from_null_address.vt, VT_I4);
  EXPECT_EQ(from_null_address.lVal, 0);
}

}  // namespace
