// Results and working areas whose size is a multiple or a sum of argument
// lengths, given byte counts for which that size passes what a BSTR may
// hold, and for which the same sum in 32-bit arithmetic would wrap to a
// small number.  Each export must refuse before it allocates a working area
// or reads the text, so these strings are fakes: a byte count in the four
// bytes before a payload of a few bytes, as the native layout has it.  An
// export that computed the size in 32 bits would allocate a few bytes and
// write gigabytes into them; one that read the text would run off the fake.
// The 32-bit build of these tests is the one that proves the arithmetic.
// (Widths times tab counts need no fakes; such cases run on the DLLs too.)
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <iterator>

#include "frame/platform.h"
#include "support/host_string.h"
#include "twinekit.h"
#include "twinekit_test_hooks.h"

namespace {

// A BSTR whose count claims `count` bytes, of which only eight exist.
class FakeString {
 public:
  explicit FakeString(uint32_t count) {
    std::memcpy(block_, &count, sizeof count);
    std::memset(block_ + 4, 'A', 8);
    value_ = reinterpret_cast<BSTR>(block_ + 4);
  }
  BSTR value() const { return value_; }
  BSTR* ref() { return &value_; }

 private:
  alignas(8) unsigned char block_[4 + 8 + 4] = {};
  BSTR value_;
};

// The arguments the cases draw on.
struct Args {
  FakeString half{0x80000000u};     // 2n and n + n wrap to 0
  FakeString seventh{0x40000000u};  // 7n wraps to 3 × 2^30
  FakeString sixth{0x2AAAAAABu};    // 6n wraps to 2
  FakeString most{0xFFFFFFFFu};     // n + 1 and n + 2 wrap to 0 and 1
  tksupport::HostString text{"ab"};
  tksupport::HostString tabs{std::string(17, '\t')};
  tksupport::HostString find{"A"};
  tksupport::HostString replace{"xyz"};
};

struct SizeCase {
  const char* what;  // the export and the size that must be refused
  BSTR (*call)(Args&);
  int64_t bstr_attempts;  // BSTRs the export may try to allocate on the way
  bool fail_result;       // the result is the text's copy: fail it, don't read
};

const SizeCase kCases[] = {
    {"cToHexa: 2n", [](Args& a) { return cToHexa(a.half.ref()); }, 1, false},
    {"cUncompact: 2n", [](Args& a) { return cUncompact(a.half.ref()); }, 1, false},
    {"cCompact: (n + 1) / 2", [](Args& a) { return cCompact(a.most.ref()); }, 1, false},
    {"cMorse: 7n", [](Args& a) { return cMorse(a.seventh.value()); }, 1, false},
    {"cInsertChars: n + m",
     [](Args& a) { return cInsertChars(a.half.ref(), 1, a.half.ref()); }, 1, false},
    {"cInsertBlocks: n + m",
     [](Args& a) { return cInsertBlocks(a.half.ref(), a.half.ref()); }, 1, false},
    {"cInsertBlocksBy: n + m",
     [](Args& a) { return cInsertBlocksBy(a.half.ref(), a.half.ref(), a.find.ref()); }, 1,
     false},
    // Real tabs: n + width × tabs, with 17 × 2^28 wrapping 32 bits to 2^28 + 17.
    {"cExpandTab: n + width x tabs",
     [](Args& a) { return cExpandTab(a.tabs.ref(), 0x10000000); }, 1, false},
    {"cProperName2: n + 2 for the working copy",
     [](Args& a) { return cProperName2(a.most.ref(), nullptr, 0); }, 1, false},
    {"cProperName2: exceptions + 2 for the word list",
     [](Args& a) { return cProperName2(a.text.ref(), a.most.value(), 0); }, 2, false},
    // Search and replace gives its text back when it cannot work; that
    // copy's allocation is made to fail, so the fake is never read.
    {"cStringSAR: 6n for the output area",
     [](Args& a) { return cStringSAR(a.sixth.value(), a.find.value(), a.replace.value(), 0); },
     1, true},
};

class SizeArithmetic : public testing::TestWithParam<size_t> {};

TEST_P(SizeArithmetic, RefusedBeforeAnyWorkingAreaOrRead) {
  const SizeCase& c = kCases[GetParam()];
  Args args;
  const int64_t live_scratch = tk_test_live_scratch();
  const int64_t live_bstrs = tk_test_live_bstrs();
  const int64_t scratch_before = tk_test_scratch_allocations();
  const int64_t bstr_before = tk_test_bstr_allocations();
  if (c.fail_result) tk_test_fail_bstr(1, 0);
  BSTR result = c.call(args);
  tk_test_fail_bstr(0, 0);

  EXPECT_EQ(tk_test_scratch_allocations(), scratch_before) << c.what;
  EXPECT_EQ(tk_test_bstr_allocations() - bstr_before, c.bstr_attempts) << c.what;
  if (c.fail_result) {
    EXPECT_EQ(result, nullptr) << c.what;
  } else {
    ASSERT_NE(result, nullptr) << c.what;
    EXPECT_EQ(SysStringByteLen(result), 0u) << c.what;
  }
  SysFreeString(result);
  EXPECT_EQ(tk_test_live_scratch(), live_scratch) << c.what;
  EXPECT_EQ(tk_test_live_bstrs(), live_bstrs) << c.what;
}

INSTANTIATE_TEST_SUITE_P(EveryMultipleOrSum, SizeArithmetic,
                         testing::Range<size_t>(0, std::size(kCases)));

}  // namespace
