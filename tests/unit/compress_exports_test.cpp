// The compression and tabs exports against plain transcriptions of their
// rules, on random texts of every byte value; the refused tab expansion;
// and every allocation failing in turn.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <iterator>
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

// Random texts: each byte from the whole range or from a small alphabet
// that makes blanks, tabs and digits frequent.
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
  std::mt19937 gen_{20240611};
};

using namespace std::literals;

constexpr std::string_view kBlankish = " \t\0  a\r\n\t   b"sv;
constexpr std::string_view kHexish = "0123456789ABCDEFabcdefGz .-";

// --- Transcriptions of the rules, byte by byte ---

std::string RefCompress(std::string_view t) {
  std::string out;
  for (char c : t) {
    if (c != 0 && c != '\t' && c != ' ') out += c;
  }
  return out;
}

std::string RefExpandTab(std::string_view t, int32_t width) {
  if (width < 1) return std::string(t);
  std::string out;
  for (char c : t) {
    if (c == '\t') {
      out.append(static_cast<size_t>(width), ' ');
    } else {
      out += c;
    }
  }
  return out;
}

std::string RefCompressTab(std::string_view t, int32_t width) {
  if (width <= 1) return std::string(t);
  std::string out;
  for (size_t i = 0; i < t.size();) {
    if (t[i] != ' ') {
      out += t[i++];
      continue;
    }
    size_t k = 0;
    while (i + k < t.size() && t[i + k] == ' ') ++k;
    out.append(k / static_cast<size_t>(width), '\t');
    out.append(k % static_cast<size_t>(width), ' ');
    i += k;
  }
  return out;
}

int RefDigitValue(unsigned char b) {
  if (b >= '0' && b <= '9') return b - 48;
  return ((b - 55) % 16 + 16) % 16;
}

std::string RefCompact(std::string_view t) {
  std::string out;
  size_t i = 0;
  if (t.size() % 2 == 1) out += static_cast<char>(RefDigitValue(static_cast<unsigned char>(t[i++])));
  for (; i < t.size(); i += 2) {
    out += static_cast<char>(16 * RefDigitValue(static_cast<unsigned char>(t[i])) +
                             RefDigitValue(static_cast<unsigned char>(t[i + 1])));
  }
  return out;
}

std::string RefUncompact(std::string_view t) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (char c : t) {
    const auto b = static_cast<unsigned char>(c);
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

int32_t RandomWidth(TextSource& source) {
  static constexpr int32_t kOdd[] = {INT32_MIN, -2, -1, 0, 1, 2, 1000, INT32_MAX};
  if (source.Draw(4) == 0) return kOdd[source.Draw(std::size(kOdd))];
  return static_cast<int32_t>(source.Draw(10)) + 1;
}

TEST(CompressExports, MatchTheRulesOnRandomTexts) {
  TextSource source;
  for (int round = 0; round < 3000; ++round) {
    const std::string text = source.Next(60, kBlankish);
    HostString txt(text);
    EXPECT_EQ(Take(cCompress(txt.ref())), RefCompress(text));
    EXPECT_EQ(Take(cUncompact(txt.ref())), RefUncompact(text));

    int32_t width = RandomWidth(source);
    if (width == INT32_MAX) width = 7;  // keep the expansion small here
    EXPECT_EQ(Take(cExpandTab(txt.ref(), width)), RefExpandTab(text, width)) << width;
    width = RandomWidth(source);
    EXPECT_EQ(Take(cCompressTab(txt.ref(), width)), RefCompressTab(text, width)) << width;

    const std::string digits = source.Next(41, kHexish);
    HostString packed(digits);
    EXPECT_EQ(Take(cCompact(packed.ref())), RefCompact(digits));
  }
}

TEST(CompressExports, ExpandTabWithAWideTabBuildsTheWholeResult) {
  constexpr int32_t kWidth = 1 << 20;
  HostString txt("a\tb\t\tc");
  const std::string out = Take(cExpandTab(txt.ref(), kWidth));
  ASSERT_EQ(out.size(), 3u + 3u * kWidth);
  EXPECT_EQ(out, "a" + std::string(kWidth, ' ') + "b" + std::string(2 * kWidth, ' ') + "c");
}

// A result size that no string may have is refused before any memory is
// asked for: the empty result, as when memory cannot be had.
TEST(CompressExports, ExpandTabRefusesAnOversizedResultWithoutAllocating) {
  struct Oversized {
    std::string_view text;
    int32_t width;
  };
  static constexpr Oversized kCases[] = {
      {"a\tb", INT32_MAX},
      {"\t\t", 0x40000000},
      {"\t\t", 0x3FFFFFFF},  // 2 + 2 × (2^30 - 1) = 2^31
      {"\t\t\t\t\t\t\t\t\t", 0x10000000},
      {"\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t", INT32_MAX},
  };
  for (const Oversized& c : kCases) {
    HostString txt(c.text);
    const int64_t scratch = tk_test_scratch_allocations();
    BSTR result = cExpandTab(txt.ref(), c.width);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(SysStringByteLen(result), 0u) << c.width;
    EXPECT_EQ(tk_test_scratch_allocations(), scratch) << c.width;
    SysFreeString(result);
  }
}

// Makes each allocation of one call fail in turn.  A failed scratch buffer
// gives the empty result; a failed result allocation gives a null BSTR;
// nothing leaks either way.
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

TEST(CompressExports, EachAllocationFailureGivesTheSpecifiedResult) {
  HostString txt(" a\t\tb  c ");
  ExpectEachAllocationFailureHandled([&] { return cCompress(txt.ref()); }, 1);
  ExpectEachAllocationFailureHandled([&] { return cExpandTab(txt.ref(), 3); }, 1);
  ExpectEachAllocationFailureHandled([&] { return cCompressTab(txt.ref(), 2); }, 1);
  ExpectEachAllocationFailureHandled([&] { return cCompact(txt.ref()); }, 1);
  ExpectEachAllocationFailureHandled([&] { return cUncompact(txt.ref()); }, 1);
  // The copy of the text needs no scratch buffer.
  ExpectEachAllocationFailureHandled([&] { return cExpandTab(txt.ref(), 0); }, 0);
  ExpectEachAllocationFailureHandled([&] { return cCompressTab(txt.ref(), 1); }, 0);
  HostString no_tab("a  b");
  ExpectEachAllocationFailureHandled([&] { return cExpandTab(no_tab.ref(), 4); }, 0);
}

}  // namespace
