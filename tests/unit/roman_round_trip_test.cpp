// Roman numerals through the exports, against a plain transcription of the
// writing and reading rules kept here in the test: every value that fits
// the 256-byte working area round-trips, and no numeral is cut short.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "frame/platform.h"
#include "twinekit.h"

namespace {

std::string Numeral(int32_t value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
  BSTR r = cArabicToRoman(&v);
  EXPECT_NE(r, nullptr);
  std::string out(reinterpret_cast<const char*>(r), SysStringByteLen(r));
  SysFreeString(r);
  return out;
}

VARIANT ValueVariant(const std::string& numeral) {
  BSTR s = SysAllocStringByteLen(numeral.data(), static_cast<UINT>(numeral.size()));
  const VARIANT out = cRomanToArabic(&s);
  SysFreeString(s);
  return out;
}

int32_t Value(const std::string& numeral) {
  const VARIANT v = ValueVariant(numeral);
  EXPECT_EQ(v.vt, VT_I4);
  return v.lVal;
}

// The writer: each row of the table from 1000 down, as often as it goes.
std::string WrittenByTheTable(int32_t value) {
  static const struct {
    int32_t value;
    const char* letters;
  } kRows[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"},
               {90, "xc"},  {50, "l"},   {40, "xl"}, {10, "x"},   {9, "ix"},
               {5, "v"},    {4, "iv"},   {1, "i"}};
  std::string out;
  for (const auto& row : kRows) {
    for (int32_t q = value / row.value; q > 0; --q) out += row.letters;
    value %= row.value;
  }
  return out;
}

// The reader: letters add up, pairs are taken greedily from the left.
int32_t ReadByTheRules(const std::string& t) {
  uint32_t sum = 0;
  for (size_t p = 0; p < t.size(); ++p) {
    const char next = p + 1 < t.size() ? t[p + 1] : '\0';
    switch (t[p]) {
      case 'm': sum += 1000; break;
      case 'd': sum += 500; break;
      case 'c':
        if (next == 'm') sum += 900, ++p;
        else if (next == 'd') sum += 400, ++p;
        else sum += 100;
        break;
      case 'l': sum += 50; break;
      case 'x':
        if (next == 'c') sum += 90, ++p;
        else if (next == 'l') sum += 40, ++p;
        else sum += 10;
        break;
      case 'v':
        if (next == 'x') ++p;
        sum += 5;
        break;
      case 'i':
        if (next == 'v') sum += 4, ++p;
        else if (next == 'x') sum += 9, ++p;
        else sum += 1;
        break;
      default: break;
    }
  }
  return static_cast<int32_t>(sum);
}

// The longest numeral the working area holds.
constexpr size_t kArea = 256;

TEST(RomanRoundTrip, EveryValueThatFitsComesBack) {
  for (int32_t value = 1; value <= 245887; ++value) {
    const std::string numeral = Numeral(value);
    ASSERT_EQ(numeral, WrittenByTheTable(value)) << value;
    ASSERT_EQ(Value(numeral), value) << numeral;
  }
}

// Past 245,887 a numeral fits only while it has at most 256 letters; one
// that does not is never cut short, the result is empty.
TEST(RomanRoundTrip, LongerNumeralsAreWholeOrEmpty) {
  int fitted = 0;
  for (int32_t value = 245888; value <= 257000; ++value) {
    const std::string written = WrittenByTheTable(value);
    const std::string numeral = Numeral(value);
    if (written.size() <= kArea) {
      ++fitted;
      ASSERT_EQ(numeral, written) << value;
      ASSERT_EQ(Value(numeral), value) << value;
    } else {
      ASSERT_EQ(numeral, "") << value;
    }
  }
  EXPECT_GT(fitted, 0);
  for (int32_t value : {300000, 1000000, 2147483000, 2147483647}) EXPECT_EQ(Numeral(value), "");
}

TEST(RomanRoundTrip, NothingForZeroAndBelow) {
  for (int32_t value : {0, -1, -4, -1994, -245887, INT32_MIN}) EXPECT_EQ(Numeral(value), "");
}

// Every text of up to five bytes from the letters, a blank and a byte that
// is no letter: the reader agrees with the rules.
TEST(RomanRoundTrip, ReaderFollowsTheRules) {
  const std::string alphabet = "mdclxvi M";
  std::string text;
  int64_t checked = 0;
  for (size_t length = 0; length <= 5; ++length) {
    size_t combinations = 1;
    for (size_t i = 0; i < length; ++i) combinations *= alphabet.size();
    for (size_t n = 0; n < combinations; ++n) {
      text.clear();
      for (size_t i = 0, rest = n; i < length; ++i, rest /= alphabet.size()) {
        text.push_back(alphabet[rest % alphabet.size()]);
      }
      ASSERT_EQ(Value(text), ReadByTheRules(text)) << "'" << text << "'";
      ++checked;
    }
  }
  EXPECT_EQ(checked, 1 + 9 + 81 + 729 + 6561 + 59049);
}

TEST(RomanRoundTrip, SumWrapsAroundAsALong) {
  const std::string ms(2147484, 'm');  // 2,147,484,000 is past the Long range
  EXPECT_EQ(Value(ms), static_cast<int32_t>(2147484000u));
  EXPECT_EQ(Value(ms + "xx"), static_cast<int32_t>(2147484020u));
  EXPECT_EQ(Value(std::string(2147483, 'm') + "dcxlvii"), INT32_MAX);
}

TEST(RomanRoundTrip, ResultIsAWholeLongVariant) {
  const VARIANT v = ValueVariant("mcmxciv");
  EXPECT_EQ(v.vt, VT_I4);
  EXPECT_EQ(v.wReserved1, 0);
  EXPECT_EQ(v.wReserved2, 0);
  EXPECT_EQ(v.wReserved3, 0);
  EXPECT_EQ(v.lVal, 1994);
}

TEST(RomanRoundTrip, NullAddressReadsAsEmpty) {
  const VARIANT out = cRomanToArabic(nullptr);
  EXPECT_EQ(out.vt, VT_I4);
  EXPECT_EQ(out.lVal, 0);
}

}  // namespace
