// The hexadecimal and checksum exports against plain transcriptions of
// their rules: every byte and every pair of bytes, random texts, and every
// allocation failing in turn.
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

using namespace std::literals;

// --- Transcriptions of the rules ---

std::string RefToHexa(std::string_view t) {
  std::string out;
  for (char c : t) {
    const auto b = static_cast<unsigned char>(c);
    for (int v : {b >> 4, b & 15}) out += static_cast<char>(v < 10 ? v + 0x30 : v + 0x37);
  }
  return out;
}

// The digit value of a byte taken as a signed 8-bit number.
int RefDigit(char c) {
  const int x = static_cast<signed char>(c);
  if (x >= 0x61) return x - 0x57;
  if (x >= 0x41) return x - 0x37;
  return x - 0x30;
}

std::string RefFromHexa(std::string_view t) {
  std::string out;
  for (size_t k = 0; k + 1 < t.size(); k += 2) {
    out += static_cast<char>(((16 * RefDigit(t[k]) + RefDigit(t[k + 1])) % 256 + 256) % 256);
  }
  return out;
}

std::string RefLrc(std::string_view t) {
  if (t.size() < 2) return "";
  unsigned char check = 0;
  for (char c : t) check ^= static_cast<unsigned char>(c);
  return RefToHexa(std::string_view(reinterpret_cast<const char*>(&check), 1));
}

bool IsHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

uint32_t RefHexValue(std::string_view t, size_t longest) {
  if (t.empty() || t.size() > longest) return 0;
  uint32_t value = 0;
  for (char c : t) {
    if (c == 0 || !IsHex(c)) break;
    value = (value << 4) | static_cast<uint32_t>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
  }
  return value;
}

class TextSource {
 public:
  std::string Next(size_t max_length, std::string_view alphabet) {
    std::string text(Draw(max_length + 1), '\0');
    for (char& c : text) {
      c = Draw(3) == 0 ? static_cast<char>(Draw(256)) : alphabet[Draw(alphabet.size())];
    }
    return text;
  }
  size_t Draw(size_t bound) { return std::uniform_int_distribution<size_t>(0, bound - 1)(gen_); }

 private:
  std::mt19937 gen_{19700101};
};

TEST(HexaExports, FromHexaReadsEveryPairOfBytesByTheDigitRule) {
  std::string pairs;
  for (int high = 0; high < 256; ++high) {
    for (int low = 0; low < 256; ++low) {
      pairs += static_cast<char>(high);
      pairs += static_cast<char>(low);
    }
  }
  HostString txt(pairs);
  const std::string bytes = Take(cFromHexa(txt.ref()));
  ASSERT_EQ(bytes.size(), 65536u);
  EXPECT_EQ(bytes, RefFromHexa(pairs));
}

TEST(HexaExports, ToHexaWritesEveryByteAndFromHexaReadsItBack) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  HostString txt(all);
  const std::string hex = Take(cToHexa(txt.ref()));
  EXPECT_EQ(hex, RefToHexa(all));
  HostString back(hex);
  EXPECT_EQ(Take(cFromHexa(back.ref())), all);
}

TEST(HexaExports, MatchTheRulesOnRandomTexts) {
  TextSource source;
  for (int round = 0; round < 5000; ++round) {
    const std::string text = source.Next(20, "0123456789abcdefABCDEFgG \0"sv);
    HostString txt(text);
    EXPECT_EQ(Take(cToHexa(txt.ref())), RefToHexa(text));
    EXPECT_EQ(Take(cFromHexa(txt.ref())), RefFromHexa(text));
    EXPECT_EQ(Take(cLrc(txt.ref())), RefLrc(text));

    const std::string number = source.Next(10, "0123456789abcdefABCDEF");
    HostString num(number);
    EXPECT_EQ(cH2I(num.value()), static_cast<int16_t>(RefHexValue(number, 4)));
    EXPECT_EQ(cH2L(num.value()), static_cast<int32_t>(RefHexValue(number, 8)));
  }
}

TEST(HexaExports, HexNumbersReadEverySingleByte) {
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    HostString txt(one);
    EXPECT_EQ(cH2I(txt.value()), static_cast<int16_t>(RefHexValue(one, 4))) << b;
    EXPECT_EQ(cH2L(txt.value()), static_cast<int32_t>(RefHexValue(one, 8))) << b;
  }
}

void ExpectEachAllocationFailureHandled(const std::function<BSTR()>& call,
                                        int64_t scratch_buffers) {
  const int64_t scratch_before = tk_test_scratch_allocations();
  const int64_t bstr_before = tk_test_bstr_allocations();
  SysFreeString(call());
  ASSERT_EQ(tk_test_scratch_allocations() - scratch_before, scratch_buffers);
  ASSERT_EQ(tk_test_bstr_allocations() - bstr_before, 1);  // the result alone

  const int64_t live_scratch = tk_test_live_scratch();
  const int64_t live_bstrs = tk_test_live_bstrs();
  for (int64_t k = 1; k <= scratch_buffers; ++k) {
    tk_test_fail_scratch(k, 0);
    BSTR result = call();
    tk_test_fail_scratch(0, 0);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(SysStringByteLen(result), 0u);
    SysFreeString(result);
  }
  tk_test_fail_bstr(1, 1);
  BSTR result = call();
  tk_test_fail_bstr(0, 0);
  EXPECT_EQ(result, nullptr);
  EXPECT_EQ(tk_test_live_scratch(), live_scratch);
  EXPECT_EQ(tk_test_live_bstrs(), live_bstrs);
}

TEST(HexaExports, EachAllocationFailureGivesTheSpecifiedResult) {
  HostString txt("41a2Z");
  ExpectEachAllocationFailureHandled([&] { return cToHexa(txt.ref()); }, 1);
  ExpectEachAllocationFailureHandled([&] { return cFromHexa(txt.ref()); }, 1);
  // The two check digits are made straight from a local pair.
  ExpectEachAllocationFailureHandled([&] { return cLrc(txt.ref()); }, 0);
}

}  // namespace
