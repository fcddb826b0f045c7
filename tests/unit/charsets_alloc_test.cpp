// Memory in the character sets exports: each allocation an export makes
// fails in turn, and the export answers as it must without leaking; the
// in-place changers and cCheckChars allocate nothing and write nothing past
// the caller's byte count.
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

// One export called on fixed arguments; the arguments live in the closure.
struct AllocatingCall {
  const char* name;
  std::function<BSTR()> call;
  Text want;  // the result when memory is plentiful
};

Text BytesOf(BSTR s) {
  return s == nullptr ? Text() : Text(reinterpret_cast<const char*>(s), SysStringByteLen(s));
}

std::vector<AllocatingCall> Calls() {
  // Shared arguments: static so that the closures can refer to them.
  static Var txt("a-b(c)d~e"), chars("-~"), blocks("X~Y"), prefix("a-"), delims("()"),
      mask("##-##"), mask_char(""), sep("~"), mix("abcdef");
  return {
      {"cFilterChars", [] { return cFilterChars(txt.ref(), chars.ref()); }, "ab(c)de"},
      {"cFilterNotChars", [] { return cFilterNotChars(txt.ref(), chars.ref()); }, "-~"},
      {"cFilterFirstChars", [] { return cFilterFirstChars(txt.ref(), prefix.ref()); },
       "b(c)d~e"},
      {"cFilterBlocks", [] { return cFilterBlocks(txt.ref(), delims.ref()); }, "a-bd~e"},
      {"cInsertByMask", [] { return cInsertByMask(mask.ref(), mask_char.ref(), txt.ref()); },
       "a--b("},
      {"cInsertBlocks", [] { return cInsertBlocks(txt.ref(), blocks.ref()); }, "a-b(c)dXe"},
      {"cInsertBlocksBy", [] { return cInsertBlocksBy(txt.ref(), blocks.ref(), sep.ref()); },
       "a-b(c)dXe"},
      {"cMixChars", [] { return cMixChars(mix.ref()); }, "afebcd"},
  };
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

// A scratch buffer that cannot be had gives the empty result.
TEST_F(CharsetsAllocation, EachScratchBufferFailsInTurn) {
  for (const AllocatingCall& c : Calls()) {
    for (int64_t k = 1;; ++k) {
      const int64_t scratch = tk_test_live_scratch(), bstrs = tk_test_live_bstrs();
      const int64_t attempts = tk_test_scratch_allocations();
      tk_test_fail_scratch(k, 0);
      BSTR result = c.call();
      tk_test_fail_scratch(0, 0);
      const bool failed = tk_test_scratch_allocations() - attempts >= k;
      ASSERT_NE(result, nullptr) << c.name << " with scratch allocation " << k << " failing";
      EXPECT_EQ(BytesOf(result), failed ? Text() : c.want) << c.name << ", allocation " << k;
      SysFreeString(result);
      EXPECT_EQ(tk_test_live_scratch(), scratch) << c.name;
      EXPECT_EQ(tk_test_live_bstrs(), bstrs) << c.name;
      if (!failed) break;
      EXPECT_EQ(k, 1) << c.name << " takes more than one scratch buffer";
    }
  }
}

// The result's own allocation failing gives a null BSTR; nothing else is
// allocated as a BSTR.
TEST_F(CharsetsAllocation, EachBstrFailsInTurn) {
  for (const AllocatingCall& c : Calls()) {
    for (int64_t k = 1;; ++k) {
      const int64_t scratch = tk_test_live_scratch(), bstrs = tk_test_live_bstrs();
      const int64_t attempts = tk_test_bstr_allocations();
      tk_test_fail_bstr(k, 0);
      BSTR result = c.call();
      tk_test_fail_bstr(0, 0);
      const bool failed = tk_test_bstr_allocations() - attempts >= k;
      if (failed) {
        EXPECT_EQ(result, nullptr) << c.name << " with BSTR allocation " << k << " failing";
      } else {
        EXPECT_EQ(BytesOf(result), c.want) << c.name;
      }
      SysFreeString(result);
      EXPECT_EQ(tk_test_live_scratch(), scratch) << c.name;
      EXPECT_EQ(tk_test_live_bstrs(), bstrs) << c.name;
      if (!failed) break;
      EXPECT_EQ(k, 1) << c.name << " makes more than one BSTR";
    }
  }
}

// Every allocation failing at once: the empty result, when even that
// cannot be had a null BSTR, and nothing left alive.
TEST_F(CharsetsAllocation, AllScratchFails) {
  for (const AllocatingCall& c : Calls()) {
    const int64_t scratch = tk_test_live_scratch(), bstrs = tk_test_live_bstrs();
    tk_test_fail_scratch(1, 1);
    BSTR result = c.call();
    tk_test_fail_scratch(0, 0);
    ASSERT_NE(result, nullptr) << c.name;
    EXPECT_EQ(SysStringByteLen(result), 0u) << c.name;
    SysFreeString(result);
    EXPECT_EQ(tk_test_live_scratch(), scratch) << c.name;
    EXPECT_EQ(tk_test_live_bstrs(), bstrs) << c.name;
  }
}

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
