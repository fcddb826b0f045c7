// Memory in the character sets exports: the in-place changers and
// cCheckChars allocate nothing and write nothing past the caller's byte
// count.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "frame/platform.h"
#include "twinekit.h"
#include "twinekit_test_hooks.h"

namespace {

using Text = std::string;

class Var {
 public:
  explicit Var(const Text& bytes)
      : b_(SysAllocStringByteLen(bytes.data(), static_cast<UINT>(bytes.size()))) {}
  ~Var() { SysFreeString(b_); }
  Var(const Var&) = delete;
  Var& operator=(const Var&) = delete;
  BSTR* ref() { return &b_; }
  BSTR get() const { return b_; }

 private:
  BSTR b_;
};

Text BytesOf(BSTR s) {
  return s == nullptr ? Text() : Text(reinterpret_cast<const char*>(s), SysStringByteLen(s));
}

class CharsetsAllocation : public testing::Test {
 protected:
  void SetUp() override { tk_test_set_clock(1); }
  void TearDown() override {
    tk_test_fail_scratch(0, 0);
    tk_test_fail_bstr(0, 0);
    tk_test_set_clock(-1);
  }
};

TEST_F(CharsetsAllocation, ChangersAndCheckAllocateNothing) {
  Var txt("hello"), old_chars("lo"), new_chars("01"), stop("o"), chars("leh");
  const int64_t scratch = tk_test_scratch_allocations(), bstrs = tk_test_bstr_allocations();
  EXPECT_EQ(cChangeChars(txt.ref(), old_chars.ref(), new_chars.ref()), -1);
  EXPECT_EQ(cChangeCharsUntil(txt.ref(), new_chars.ref(), old_chars.ref(), stop.ref()), -1);
  EXPECT_EQ(cCheckChars(txt.ref(), chars.ref()), -1);
  EXPECT_EQ(tk_test_scratch_allocations(), scratch);
  EXPECT_EQ(tk_test_bstr_allocations(), bstrs);
  EXPECT_EQ(BytesOf(txt.get()), "hello");
}

// The zero terminator after the caller's bytes is not theirs to change,
// even when the old list holds a zero byte.
TEST(CharsetsInPlace, NeverWritePastTheByteCount) {
  Var old_chars(Text("\0", 1)), new_chars("x"), stop("y");
  Var first(Text("a\0b\0", 4)), second(Text("\0a\0", 3));
  EXPECT_EQ(cChangeChars(first.ref(), old_chars.ref(), new_chars.ref()), -1);
  EXPECT_EQ(cChangeCharsUntil(second.ref(), old_chars.ref(), new_chars.ref(), stop.ref()), -1);
  EXPECT_EQ(BytesOf(first.get()), "axbx");
  EXPECT_EQ(BytesOf(second.get()), "xax");
  for (BSTR s : {first.get(), second.get()}) {
    const unsigned char* after = reinterpret_cast<const unsigned char*>(s) + SysStringByteLen(s);
    EXPECT_EQ(after[0], 0);
    EXPECT_EQ(after[1], 0);
  }
}

}  // namespace
