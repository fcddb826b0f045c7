// The shared byte services: classes and case over all 256 bytes, the
// zero-terminated string services, the tokenizer, the generator and the
// clock seed.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frame/chars.h"
#include "frame/clock.h"
#include "frame/random.h"
#include "frame/tokenizer.h"
#include "frame/zstring.h"

namespace twinekit {
namespace {

const uint8_t* U(const char* s) { return reinterpret_cast<const uint8_t*>(s); }

TEST(CharClasses, EveryByteAgainstItsRanges) {
  for (int b = 0; b < 256; ++b) {
    const auto c = static_cast<uint8_t>(b);
    const bool digit = b >= '0' && b <= '9';
    const bool upper = b >= 'A' && b <= 'Z';
    const bool lower = b >= 'a' && b <= 'z';
    const bool hex = digit || (b >= 'A' && b <= 'F') || (b >= 'a' && b <= 'f');
    const bool punct = b > 0x20 && b < 0x7F && !digit && !upper && !lower;
    EXPECT_EQ(IsDigit(c), digit) << b;
    EXPECT_EQ(IsHexDigit(c), hex) << b;
    EXPECT_EQ(IsPunct(c), punct) << b;
    EXPECT_EQ(ToUpper(c), lower ? b - 32 : b) << b;
    EXPECT_EQ(ToLower(c), upper ? b + 32 : b) << b;
  }
}

TEST(CharClasses, LowerInPlaceStopsAtTheFirstZero) {
  uint8_t s[] = {'A', 'b', 'C', 0, 'D', 0};
  LowerInPlace(s);
  EXPECT_EQ(std::memcmp(s, "abc\0D", 6), 0);
}

TEST(ZeroTerminated, Search) {
  struct Row { const char* text; const char* pattern; int at; };
  const Row rows[] = {
      {"abcabd", "abd", 3}, {"abc", "", 0}, {"", "", 0}, {"", "a", -1},
      {"aaab", "aab", 1},   {"abc", "abcd", -1}, {"ABC", "b", -1}, {"x\xE9y", "\xE9", 1},
  };
  for (const Row& r : rows) {
    const uint8_t* found = FindZ(U(r.text), U(r.pattern));
    EXPECT_EQ(found == nullptr ? -1 : static_cast<int>(found - U(r.text)), r.at)
        << r.text << " / " << r.pattern;
  }
}

TEST(ZeroTerminated, BoundedCopyPadsWithZeros) {
  uint8_t out[6];
  std::memset(out, 0x55, sizeof out);
  CopyZ(out, U("ab\0cd"), 5);
  EXPECT_EQ(std::memcmp(out, "ab\0\0\0\x55", 6), 0);
  CopyZ(out, U("abcdefgh"), 3);
  EXPECT_EQ(std::memcmp(out, "abc", 3), 0);
}

TEST(Tokenizer, SkipsRunsOfDelimiters) {
  uint8_t s[] = "/a//b/";
  Tokenizer t;
  const uint8_t* slash = U("/");
  std::string got;
  for (uint8_t* tok = t.First(s, slash); tok != nullptr; tok = t.Next(slash)) {
    got += reinterpret_cast<char*>(tok);
    got += ';';
  }
  EXPECT_EQ(got, "a;b;");
  EXPECT_EQ(t.Next(slash), nullptr);
}

TEST(Tokenizer, NothingButDelimitersGivesNothing) {
  uint8_t s[] = ",;,";
  Tokenizer t;
  EXPECT_EQ(t.First(s, U(",;")), nullptr);
  uint8_t empty[] = "";
  EXPECT_EQ(t.First(empty, U(",")), nullptr);
}

TEST(Generator, KnownDraws) {
  SeedGenerator(1);
  EXPECT_EQ(DrawFromGenerator(), 41);
  EXPECT_EQ(DrawFromGenerator(), 18467);
  EXPECT_EQ(DrawFromGenerator(), 6334);
  EXPECT_EQ(DrawFromGenerator(), 26500);
  SeedGenerator(0);
  EXPECT_EQ(DrawFromGenerator(), 38);
  EXPECT_EQ(DrawFromGenerator(), 7719);
  SeedGenerator(UINT32_MAX);
  for (int i = 0; i < 1000; ++i) {
    const int d = DrawFromGenerator();
    ASSERT_GE(d, 0);
    ASSERT_LE(d, 32767);
  }
}

TEST(Clock, SeedIsCalendarSecondsOrAllOnes) {
  FixClockForTests(1234567890);
  EXPECT_EQ(SeedFromClock(), 1234567890u);
  FixClockForTests(int64_t{INT32_MAX} + 1);  // past 2038
  EXPECT_EQ(SeedFromClock(), UINT32_MAX);
  FixClockForTests(-1);
  EXPECT_GT(SeedFromClock(), 1700000000u);
}

}  // namespace
}  // namespace twinekit
