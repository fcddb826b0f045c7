// The digit string exports against plain transcriptions of their rules on
// random texts of every byte value, the 16-bit width of their Integer
// results, and every allocation failing in turn.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <string_view>

#include "frame/platform.h"
#include "support/host_string.h"
#include "twinekit.h"
#include "twinekit_test_hooks.h"

namespace {

using tksupport::HostString;
using tksupport::Take;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// --- Transcriptions of the rules ---

int16_t RefCheckNumericity(std::string_view t) {
  if (t.empty()) return 0;
  for (char c : t) {
    if (!IsDigit(c)) return 0;
  }
  return -1;
}

int64_t RefDigitTotal(std::string_view t) {
  int64_t sum = 0;
  for (char c : t) {
    if (IsDigit(c)) sum += c - '0';
  }
  return sum;
}

int16_t RefNumDigit(std::string_view t) {
  int check = 0;
  for (char c : t) {
    if (!IsDigit(c)) continue;
    check += c - '0';
    if (check > 9) check -= 9;
  }
  return static_cast<int16_t>(check);
}

std::string RefCplDigit(std::string_view t) {
  std::string out(t);
  for (char& c : out) {
    if (IsDigit(c)) c = static_cast<char>(0x69 - c);
  }
  return out;
}

std::string RefCplAlpha(std::string_view t) {
  std::string out(t);
  for (char& c : out) c = static_cast<char>(0xFF - static_cast<unsigned char>(c));
  return out;
}

class TextSource {
 public:
  std::string Next(size_t max_length, std::string_view alphabet) {
    std::string text(Draw(max_length + 1), '\0');
    for (char& c : text) {
      c = Draw(4) == 0 ? static_cast<char>(Draw(256)) : alphabet[Draw(alphabet.size())];
    }
    return text;
  }
  size_t Draw(size_t bound) { return std::uniform_int_distribution<size_t>(0, bound - 1)(gen_); }

 private:
  std::mt19937 gen_{4242};
};

TEST(DigitsExports, MatchTheRulesOnRandomTexts) {
  TextSource source;
  for (int round = 0; round < 5000; ++round) {
    const std::string text = source.Next(round % 10 == 0 ? 5000 : 30, "0123456789");
    HostString txt(text);
    EXPECT_EQ(cCheckNumericity(txt.ref()), RefCheckNumericity(text));
    EXPECT_EQ(cAddDigit(txt.ref()), static_cast<int16_t>(RefDigitTotal(text) & 0xFFFF));
    const int16_t check = RefNumDigit(text);
    EXPECT_EQ(cNumDigit(txt.ref()), check);
    // The same check digit as the digital root of the digit total.
    const int64_t total = RefDigitTotal(text);
    EXPECT_EQ(check, total == 0 ? 0 : 1 + (total - 1) % 9);
    EXPECT_EQ(Take(cCplDigit(txt.ref())), RefCplDigit(text));
    EXPECT_EQ(Take(cCplAlpha(txt.ref())), RefCplAlpha(text));
  }
}

TEST(DigitsExports, DigitSumWrapsAt16Bits) {
  struct Sum {
    size_t nines;
    int16_t result;
  };
  static constexpr Sum kSums[] = {
      {3640, 32760}, {3641, -32767}, {7281, -7}, {7282, 2}, {14564, 4},
  };
  for (const Sum& s : kSums) {
    HostString txt(std::string(s.nines, '9'));
    EXPECT_EQ(cAddDigit(txt.ref()), s.result) << s.nines;
    EXPECT_EQ(cNumDigit(txt.ref()), 9);
    EXPECT_EQ(cCheckNumericity(txt.ref()), -1);
  }
}

void ExpectEachAllocationFailureHandled(const std::function<BSTR()>& call) {
  const int64_t scratch_before = tk_test_scratch_allocations();
  const int64_t bstr_before = tk_test_bstr_allocations();
  SysFreeString(call());
  ASSERT_EQ(tk_test_scratch_allocations() - scratch_before, 1);  // one scratch buffer
  ASSERT_EQ(tk_test_bstr_allocations() - bstr_before, 1);        // the result alone

  const int64_t live_scratch = tk_test_live_scratch();
  const int64_t live_bstrs = tk_test_live_bstrs();
  tk_test_fail_scratch(1, 0);
  BSTR result = call();
  tk_test_fail_scratch(0, 0);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(SysStringByteLen(result), 0u);
  SysFreeString(result);

  tk_test_fail_bstr(1, 1);
  result = call();
  tk_test_fail_bstr(0, 0);
  EXPECT_EQ(result, nullptr);
  EXPECT_EQ(tk_test_live_scratch(), live_scratch);
  EXPECT_EQ(tk_test_live_bstrs(), live_bstrs);
}

TEST(DigitsExports, EachAllocationFailureGivesTheSpecifiedResult) {
  HostString txt("12a\xB9");
  ExpectEachAllocationFailureHandled([&] { return cCplDigit(txt.ref()); });
  ExpectEachAllocationFailureHandled([&] { return cCplAlpha(txt.ref()); });
}

}  // namespace
