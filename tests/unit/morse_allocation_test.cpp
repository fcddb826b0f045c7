// cMorse when memory runs short: a failed scratch buffer gives the empty
// result, a failed result allocation a null BSTR, and nothing leaks.  A
// text too long for its buffer of seven bytes a byte is answered the same.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "frame/platform.h"
#include "twinekit.h"
#include "twinekit_test_hooks.h"

namespace {

class MorseAllocation : public testing::Test {
 protected:
  void SetUp() override {
    text_ = SysAllocStringByteLen("SOS sos", 7);
    scratch_ = tk_test_live_scratch();
    bstrs_ = tk_test_live_bstrs();
  }
  void TearDown() override {
    tk_test_fail_scratch(0, 0);
    tk_test_fail_bstr(0, 0);
    EXPECT_EQ(tk_test_live_scratch(), scratch_);
    EXPECT_EQ(tk_test_live_bstrs(), bstrs_);
    SysFreeString(text_);
  }

  // The number of scratch and BSTR allocations a successful call makes.
  void CountAllocations(int64_t* scratch, int64_t* bstrs) {
    const int64_t s0 = tk_test_scratch_allocations();
    const int64_t b0 = tk_test_bstr_allocations();
    BSTR r = cMorse(text_);
    *scratch = tk_test_scratch_allocations() - s0;
    *bstrs = tk_test_bstr_allocations() - b0;
    EXPECT_EQ(std::string(reinterpret_cast<char*>(r), SysStringByteLen(r)),
              "... --- ... ~... --- ... ");
    SysFreeString(r);
  }

  BSTR text_ = nullptr;
  int64_t scratch_ = 0;
  int64_t bstrs_ = 0;
};

TEST_F(MorseAllocation, EachScratchBufferFailsInTurn) {
  int64_t scratch = 0, bstrs = 0;
  CountAllocations(&scratch, &bstrs);
  ASSERT_EQ(scratch, 1);
  for (int64_t k = 1; k <= scratch; ++k) {
    tk_test_fail_scratch(k, 0);
    BSTR r = cMorse(text_);
    tk_test_fail_scratch(0, 0);
    ASSERT_NE(r, nullptr) << "scratch " << k;
    EXPECT_EQ(SysStringByteLen(r), 0u) << "scratch " << k;
    SysFreeString(r);
  }
}

TEST_F(MorseAllocation, EachBstrFailsInTurn) {
  int64_t scratch = 0, bstrs = 0;
  CountAllocations(&scratch, &bstrs);
  ASSERT_EQ(bstrs, 1);  // the result, and nothing else
  tk_test_fail_bstr(1, 0);
  EXPECT_EQ(cMorse(text_), nullptr);
}

TEST_F(MorseAllocation, EverythingFails) {
  tk_test_fail_scratch(1, 1);
  tk_test_fail_bstr(1, 1);
  EXPECT_EQ(cMorse(text_), nullptr);
}

// A byte count whose buffer of 7 bytes a byte is past any block this
// library takes: the empty result, without reading the text.
TEST_F(MorseAllocation, BufferTooLargeGivesTheEmptyResult) {
  alignas(4) unsigned char block[4 + 4] = {0, 0, 0, 0, 'S', 0, 0, 0};
  const uint32_t huge = 0x40000000u;  // 7 × this wraps a 32-bit size
  std::memcpy(block, &huge, sizeof huge);
  const int64_t attempts = tk_test_scratch_allocations();
  BSTR r = cMorse(reinterpret_cast<BSTR>(block + 4));
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(SysStringByteLen(r), 0u);
  EXPECT_EQ(tk_test_scratch_allocations(), attempts);
  SysFreeString(r);
}

}  // namespace
