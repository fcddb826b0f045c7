// Roman numerals through the exports: every value up to 257,000 is written
// whole and read back to itself, or not written at all; and a null address
// where a Variant or a string should be.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "frame/platform.h"
#include "support/host_string.h"
#include "twinekit.h"

namespace {

// Past 245,887 a numeral fits the 256-byte working area only while it has
// at most 256 letters; one that does not fit is never cut short.
TEST(RomanRoundTrip, EveryValueIsWrittenWholeOrNotAtAll) {
  int fitted_past_bound = 0;
  for (int32_t value = 1; value <= 257000; ++value) {
    VARIANT number;
    VariantInit(&number);
    number.vt = VT_I4;
    number.lVal = value;
    const std::string numeral = tksupport::Take(cArabicToRoman(&number));
    if (numeral.empty()) {
      ASSERT_GT(value, 245887);
      continue;
    }
    ASSERT_LE(numeral.size(), 256u) << value;
    tksupport::HostString txt(numeral);
    const VARIANT back = cRomanToArabic(txt.ref());
    ASSERT_EQ(back.vt, VT_I4);
    ASSERT_EQ(back.lVal, value) << numeral;
    fitted_past_bound += value > 245887;
  }
  EXPECT_GT(fitted_past_bound, 0);
}

TEST(RomanRoundTrip, NullAddresses) {
  EXPECT_EQ(tksupport::Take(cArabicToRoman(nullptr)), "");
  const VARIANT v = cRomanToArabic(nullptr);
  EXPECT_EQ(v.vt, VT_I4);
  EXPECT_EQ(v.wReserved1 | v.wReserved2 | v.wReserved3, 0);
  EXPECT_EQ(v.lVal, 0);
}

}  // namespace
