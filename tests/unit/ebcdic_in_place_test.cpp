// The EBCDIC conversions through the exports: round trips of every byte
// value, writing only inside the caller's byte count.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "frame/platform.h"
#include "support/host_string.h"
#include "twinekit.h"

namespace {

using Convert = TK_INTEGER (*)(BSTR*);

std::string AllBytes() {
  std::string all(256, '\0');
  for (int i = 0; i < 256; ++i) all[i] = static_cast<char>(i);
  return all;
}

// Converts bytes in place through `convert` and returns what it left.
std::string Converted(Convert convert, const std::string& bytes) {
  tksupport::HostString s(bytes);
  BSTR variable = s.value();
  EXPECT_EQ(convert(&variable), bytes.empty() ? 0 : -1);
  EXPECT_EQ(variable, s.value());
  return s.bytes();
}

struct Direction {
  const char* name;
  Convert there;
  Convert back;
};

const Direction kDirections[] = {
    {"ASCII to EBCDIC and back", cCnvASCIItoEBCDIC, cCnvEBCDICtoASCII},
    {"EBCDIC to ASCII and back", cCnvEBCDICtoASCII, cCnvASCIItoEBCDIC},
};

TEST(EbcdicInPlace, EveryByteValueSurvivesTheRoundTrip) {
  const std::string all = AllBytes();
  for (const Direction& d : kDirections) {
    const std::string there = Converted(d.there, all);
    std::string sorted = there;
    std::sort(sorted.begin(), sorted.end(), [](char a, char b) {
      return static_cast<uint8_t>(a) < static_cast<uint8_t>(b);
    });
    EXPECT_EQ(sorted, all) << d.name << ": not a permutation";
    EXPECT_EQ(Converted(d.back, there), all) << d.name;
  }
}

// A BSTR laid out by hand whose byte count covers only part of its
// payload: the bytes past the count must stay as they are.
TEST(EbcdicInPlace, WritesOnlyInsideTheByteCount) {
  for (const Direction& d : kDirections) {
    alignas(4) unsigned char block[4 + 8] = {3, 0, 0, 0, 'A', 'B', 'C', 'x', 'y', 'z', 0, 0};
    BSTR s = reinterpret_cast<BSTR>(block + 4);
    ASSERT_EQ(SysStringByteLen(s), 3u);
    EXPECT_EQ(d.there(&s), -1) << d.name;
    EXPECT_NE(std::memcmp(block + 4, "ABC", 3), 0) << d.name;
    EXPECT_EQ(std::memcmp(block + 7, "xyz", 3), 0) << d.name;
  }
}

TEST(EbcdicInPlace, NullAddressOrNullStringIsEmpty) {
  BSTR null_string = nullptr;
  for (const Direction& d : kDirections) {
    EXPECT_EQ(d.there(nullptr), 0) << d.name;
    EXPECT_EQ(d.there(&null_string), 0) << d.name;
    EXPECT_EQ(null_string, nullptr);
  }
}

}  // namespace
