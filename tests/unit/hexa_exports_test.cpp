// The hexadecimal exports against plain transcriptions of their rules, on
// every byte and every pair of bytes: the digit rule reads bytes as signed
// 8-bit numbers, an odd corner no table of cases covers whole.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "frame/platform.h"
#include "support/host_string.h"
#include "twinekit.h"

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

TEST(HexaExports, HexNumbersReadEverySingleByte) {
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    HostString txt(one);
    EXPECT_EQ(cH2I(txt.value()), static_cast<int16_t>(RefHexValue(one, 4))) << b;
    EXPECT_EQ(cH2L(txt.value()), static_cast<int32_t>(RefHexValue(one, 8))) << b;
  }
}

}  // namespace
