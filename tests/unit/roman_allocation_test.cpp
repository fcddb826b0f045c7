// cRomanToArabic takes no memory at all: with every allocation failing it
// still reads its numeral.  (How cArabicToRoman answers failed
// allocations is checked with every other export's.)
#include <gtest/gtest.h>

#include "frame/platform.h"
#include "twinekit.h"
#include "twinekit_test_hooks.h"

namespace {

TEST(RomanAllocation, RomanToArabicTakesNoMemory) {
  BSTR s = SysAllocStringByteLen("mcmxciv", 7);
  const int64_t scratch = tk_test_scratch_allocations();
  const int64_t bstrs = tk_test_bstr_allocations();
  tk_test_fail_scratch(1, 1);
  tk_test_fail_bstr(1, 1);
  const VARIANT v = cRomanToArabic(&s);
  tk_test_fail_scratch(0, 0);
  tk_test_fail_bstr(0, 0);
  EXPECT_EQ(v.vt, VT_I4);
  EXPECT_EQ(v.lVal, 1994);
  EXPECT_EQ(tk_test_scratch_allocations(), scratch);
  EXPECT_EQ(tk_test_bstr_allocations(), bstrs);
  SysFreeString(s);
}

}  // namespace
