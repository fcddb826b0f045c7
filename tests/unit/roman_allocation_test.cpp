// The Roman numeral exports when memory runs short.  cArabicToRoman takes
// a copy of a string Variant, one scratch buffer and its result; each of
// them fails in turn.  A failed copy or buffer gives the empty result, a
// failed result a null BSTR, and nothing leaks.  cRomanToArabic takes no
// memory at all.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "frame/platform.h"
#include "twinekit.h"
#include "twinekit_test_hooks.h"

namespace {

struct Counts {
  int64_t scratch;
  int64_t bstrs;
};

Counts AllocationsNow() { return {tk_test_scratch_allocations(), tk_test_bstr_allocations()}; }
Counts LiveNow() { return {tk_test_live_scratch(), tk_test_live_bstrs()}; }

class RomanAllocation : public testing::Test {
 protected:
  void SetUp() override {
    VariantInit(&long_);
    long_.vt = VT_I4;
    long_.lVal = 1994;
    VariantInit(&text_);
    text_.vt = VT_BSTR;
    const std::vector<OLECHAR> wide = {'1', '9', '9', '4'};
    text_.bstrVal = SysAllocStringLen(wide.data(), 4);
    live_ = LiveNow();
  }
  void TearDown() override {
    tk_test_fail_scratch(0, 0);
    tk_test_fail_bstr(0, 0);
    EXPECT_EQ(LiveNow().scratch, live_.scratch);
    EXPECT_EQ(LiveNow().bstrs, live_.bstrs);
    VariantClear(&text_);
  }

  // The allocations that a call which succeeds makes.
  Counts Made(VARIANT* v) {
    const Counts before = AllocationsNow();
    BSTR r = cArabicToRoman(v);
    const Counts after = AllocationsNow();
    EXPECT_EQ(std::string(reinterpret_cast<char*>(r), SysStringByteLen(r)), "mcmxciv");
    SysFreeString(r);
    return {after.scratch - before.scratch, after.bstrs - before.bstrs};
  }

  VARIANT long_;
  VARIANT text_;
  Counts live_{};
};

void ExpectEmptyResult(BSTR r, const std::string& what) {
  ASSERT_NE(r, nullptr) << what;
  EXPECT_EQ(SysStringByteLen(r), 0u) << what;
  SysFreeString(r);
}

TEST_F(RomanAllocation, EachScratchBufferFailsInTurn) {
  for (VARIANT* v : {&long_, &text_}) {
    const Counts made = Made(v);
    ASSERT_EQ(made.scratch, 1);
    for (int64_t k = 1; k <= made.scratch; ++k) {
      tk_test_fail_scratch(k, 0);
      ExpectEmptyResult(cArabicToRoman(v), "scratch " + std::to_string(k));
      tk_test_fail_scratch(0, 0);
    }
  }
}

// The last BSTR a call makes is its result; every one before it is the
// copy of a string Variant.
TEST_F(RomanAllocation, EachBstrFailsInTurn) {
  for (VARIANT* v : {&long_, &text_}) {
    const Counts made = Made(v);
    ASSERT_EQ(made.bstrs, v == &text_ ? 2 : 1);
    for (int64_t k = 1; k <= made.bstrs; ++k) {
      tk_test_fail_bstr(k, 0);
      BSTR r = cArabicToRoman(v);
      tk_test_fail_bstr(0, 0);
      if (k == made.bstrs) {
        EXPECT_EQ(r, nullptr) << "the result itself failed";
      } else {
        ExpectEmptyResult(r, "BSTR " + std::to_string(k));
      }
    }
  }
  EXPECT_EQ(text_.vt, VT_BSTR);
  EXPECT_EQ(SysStringByteLen(text_.bstrVal), 8u);
}

TEST_F(RomanAllocation, EverythingFails) {
  for (VARIANT* v : {&long_, &text_}) {
    tk_test_fail_scratch(1, 1);
    tk_test_fail_bstr(1, 1);
    EXPECT_EQ(cArabicToRoman(v), nullptr);
    tk_test_fail_scratch(0, 0);
    tk_test_fail_bstr(0, 0);
  }
}

TEST_F(RomanAllocation, RomanToArabicTakesNoMemory) {
  BSTR s = SysAllocStringByteLen("mcmxciv", 7);
  const Counts before = AllocationsNow();
  tk_test_fail_scratch(1, 1);
  tk_test_fail_bstr(1, 1);
  const VARIANT v = cRomanToArabic(&s);
  tk_test_fail_scratch(0, 0);
  tk_test_fail_bstr(0, 0);
  EXPECT_EQ(v.vt, VT_I4);
  EXPECT_EQ(v.lVal, 1994);
  const Counts after = AllocationsNow();
  EXPECT_EQ(after.scratch - before.scratch, 0);
  EXPECT_EQ(after.bstrs - before.bstrs, 0);
  SysFreeString(s);
}

}  // namespace
