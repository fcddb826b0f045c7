// The digit sum is a 16-bit Integer: long runs of nines wrap it.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/host_string.h"
#include "twinekit.h"

namespace {

using tksupport::HostString;

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

}  // namespace
