// What the fields, tokens and search exports allocate, and what they answer
// when an allocation fails.  The field exports make their result straight
// from the text (one BSTR, no scratch); the token tests allocate nothing;
// cStringSAR takes two scratch buffers and, without them, gives back the
// copy of the text.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "frame/platform.h"
#include "twinekit.h"
#include "twinekit_test_hooks.h"

namespace {

using namespace std::literals;

class Arg {
 public:
  explicit Arg(std::string_view bytes)
      : s_(SysAllocStringByteLen(bytes.data(), static_cast<UINT>(bytes.size()))) {}
  ~Arg() { SysFreeString(s_); }
  Arg(const Arg&) = delete;
  Arg& operator=(const Arg&) = delete;
  BSTR* ref() { return &s_; }
  BSTR value() const { return s_; }

 private:
  BSTR s_;
};

// The allocations one call attempts, and what is left alive after it.
struct Usage {
  int64_t scratch = 0;
  int64_t bstrs = 0;
};

template <typename Call>
Usage Measure(Call call) {
  const int64_t scratch = tk_test_scratch_allocations();
  const int64_t bstrs = tk_test_bstr_allocations();
  call();
  return {tk_test_scratch_allocations() - scratch, tk_test_bstr_allocations() - bstrs};
}

// Runs a string export with every BSTR or scratch allocation failing in
// turn and gives each result's bytes to check (null as "<null>").
class FaultRun {
 public:
  enum Kind { kScratch, kBstr };

  static std::string Bytes(BSTR r) {
    if (r == nullptr) return "<null>";
    std::string out(reinterpret_cast<const char*>(r), SysStringByteLen(r));
    SysFreeString(r);
    return out;
  }

  static void Each(Kind kind, int64_t attempts, const std::function<BSTR()>& call,
                   const std::function<void(const std::string&, int64_t)>& check) {
    for (int64_t k = 1; k <= attempts; ++k) {
      for (int persistent : {0, 1}) {
        const int64_t live_scratch = tk_test_live_scratch();
        const int64_t live_bstrs = tk_test_live_bstrs();
        if (kind == kScratch) tk_test_fail_scratch(k, persistent);
        if (kind == kBstr) tk_test_fail_bstr(k, persistent);
        const BSTR r = call();
        tk_test_fail_scratch(0, 0);
        tk_test_fail_bstr(0, 0);
        check(Bytes(r), k);
        EXPECT_EQ(tk_test_live_scratch(), live_scratch) << "attempt " << k;
        EXPECT_EQ(tk_test_live_bstrs(), live_bstrs) << "attempt " << k;
      }
    }
  }
};

TEST(FieldsAllocation, FieldExportsMakeOnlyTheirResult) {
  Arg txt("key=a|b|c.d"), bar("|"), eq("="), dot("."), set("|=");
  const std::function<BSTR()> calls[] = {
      [&] { return cGet(txt.ref(), 2); },
      [&] { return cGetIn(txt.ref(), bar.ref(), 3); },
      [&] { return cGetInR(txt.ref(), bar.ref(), 1); },
      [&] { return cGetInPart(txt.ref(), eq.ref(), -1); },
      [&] { return cGetInPart(dot.ref(), eq.ref(), 0); },  // the copy of the text
      [&] { return cGetInPartR(txt.ref(), dot.ref(), 0); },
      [&] { return cTokenIn(txt.ref(), set.ref(), 2); },
  };
  for (const auto& call : calls) {
    std::string bytes;
    const Usage used = Measure([&] { bytes = FaultRun::Bytes(call()); });
    EXPECT_EQ(used.scratch, 0) << bytes;
    EXPECT_EQ(used.bstrs, 1) << bytes;
    FaultRun::Each(FaultRun::kBstr, 1, call, [](const std::string& got, int64_t) {
      EXPECT_EQ(got, "<null>");  // the result's own allocation failed
    });
  }
  const Usage counted = Measure([&] { EXPECT_EQ(cCount(txt.ref(), bar.ref()), 2); });
  EXPECT_EQ(counted.scratch + counted.bstrs, 0);
  Arg comma(",");
  const Usage set_default = Measure([&] { cSetDefaultSeparator(comma.ref()); });
  cSetDefaultSeparator(bar.ref());
  EXPECT_EQ(set_default.scratch + set_default.bstrs, 0);
}

TEST(FieldsAllocation, TokenTestsAllocateNothing) {
  const std::string long_token(3000, 't');
  Arg txt("<" + long_token + ">"), list("x|" + long_token + "||"), sep("|");
  const Usage used = Measure([&] {
    EXPECT_EQ(cOrToken(txt.value(), list.value()), -1);
    EXPECT_EQ(cAndToken(txt.value(), list.value()), 0);
    EXPECT_EQ(cOrTokenIn(txt.value(), list.value(), sep.value()), -1);
    EXPECT_EQ(cAndTokenIn(txt.value(), list.value(), sep.value()), 0);
  });
  EXPECT_EQ(used.scratch, 0);
  EXPECT_EQ(used.bstrs, 0);
}

TEST(FieldsAllocation, StringSARTakesTwoScratchBuffersAndOneResult) {
  Arg txt("Hello World"), find("o"), replace("0"), find2("World"), replace2("There");
  std::string got;
  Usage used = Measure([&] { got = FaultRun::Bytes(cStringSAR(txt.value(), find.value(), replace.value(), -1)); });
  EXPECT_EQ(got, "Hell0 W0rld");
  EXPECT_EQ(used.scratch, 2);
  EXPECT_EQ(used.bstrs, 1);
  used = Measure([&] { got = FaultRun::Bytes(cStringSAR(txt.value(), find2.value(), replace2.value(), 0)); });
  EXPECT_EQ(got, "Hello There");
  EXPECT_EQ(used.scratch, 2);
  EXPECT_EQ(used.bstrs, 1);
}

// Nothing to work on: no scratch buffer is taken.
TEST(FieldsAllocation, StringSARWithNothingToDoTakesNoScratch) {
  Arg empty(""), txt("abc"), find("b"), replace("x");
  const Usage no_text = Measure([&] {
    EXPECT_EQ(FaultRun::Bytes(cStringSAR(empty.value(), find.value(), replace.value(), -1)), "");
  });
  EXPECT_EQ(no_text.scratch, 0);
  const Usage no_find = Measure([&] {
    EXPECT_EQ(FaultRun::Bytes(cStringSAR(txt.value(), empty.value(), replace.value(), -1)), "abc");
  });
  EXPECT_EQ(no_find.scratch, 0);
}

TEST(FieldsAllocation, StringSARWithoutWorkingMemoryGivesTheCopyOfTheText) {
  struct Input {
    std::string_view txt, find, replace;
    int32_t match_case;
  };
  const Input inputs[] = {
      {"Hello World", "o", "0", -1},        // one byte for one byte
      {"Hello World", "WORLD", "There", 0},  // in general
      {"a\0b"sv, "\0"sv, "-", -1},          // zero bytes come back too
  };
  for (const Input& in : inputs) {
    Arg txt(in.txt), find(in.find), replace(in.replace);
    const std::function<BSTR()> call = [&] {
      return cStringSAR(txt.value(), find.value(), replace.value(), in.match_case);
    };
    FaultRun::Each(FaultRun::kScratch, 2, call, [&](const std::string& got, int64_t k) {
      EXPECT_EQ(got, std::string(in.txt)) << "scratch allocation " << k;
    });
    FaultRun::Each(FaultRun::kBstr, 1, call, [](const std::string& got, int64_t) {
      EXPECT_EQ(got, "<null>");  // the result's own allocation failed
    });
  }
}

}  // namespace
