// cMorse given a byte count whose buffer of seven bytes a byte is past any
// block the library takes answers with the empty result.  (How it answers
// failed allocations is checked with every other export's.)
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


  BSTR text_ = nullptr;
  int64_t scratch_ = 0;
  int64_t bstrs_ = 0;
};




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
