// The name capitalisation exports with exception words at and past the
// bound of the pattern area, and on large texts.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "frame/platform.h"
#include "support/host_string.h"
#include "twinekit.h"
#include "twinekit_test_hooks.h"

namespace {

using tksupport::HostString;
using tksupport::Take;

std::string Name2(std::string_view txt, std::string_view exceptions, int32_t options) {
  HostString t(txt), e(exceptions);
  return Take(cProperName2(t.ref(), e.value(), options));
}

// A word longer than 253 bytes does not fit the pattern area beside its two
// blanks; it is skipped as if it were not in the list, in both passes.
TEST(NamesExports, ExceptionWordsAtTheBoundOfThePatternArea) {
  const std::string at_bound(253, 'a');
  const std::string past_bound(254, 'a');
  const std::string lowered_tail(252, 'a');

  // Found whole: given back lowered, where the capitalisation would have
  // made a capital of it.
  EXPECT_EQ(Name2("x " + std::string(253, 'A') + " y", at_bound, 1), "X " + at_bound + " Y");
  EXPECT_EQ(Name2("x " + std::string(254, 'A') + " y", past_bound, 1),
            "X A" + std::string(253, 'a') + " Y");
  // The other words of the list still count.
  EXPECT_EQ(Name2("x " + past_bound + " de y", past_bound + "/de", 1),
            "X A" + std::string(253, 'a') + " de Y");

  // As prefixes.
  EXPECT_EQ(Name2("x " + at_bound + "bc", at_bound, 8), "X A" + lowered_tail + "Bc");
  EXPECT_EQ(Name2("x " + past_bound + "bc", past_bound, 8), "X A" + std::string(253, 'a') + "bc");

  // Far past the bound: nothing written anywhere.
  const std::string huge(100000, 'a');
  EXPECT_EQ(Name2("x " + huge + " y", huge + "/" + huge, 15), "X A" + huge.substr(1) + " Y");
}

// The searches resume after each match, so a text of many words against a
// list of several costs each word one pass over the text.
TEST(NamesExports, LargeTexts) {
  std::string text;
  std::string want;
  for (int i = 0; i < 100000; ++i) {
    text += "MCDONALD DE LA ";
    want += "McDonald de la ";
  }
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Name2(text, "de/la/mc/van der", 9), want);
  // The longest search the pattern area allows, over a text of blanks that
  // matches all but its last byte everywhere.
  const std::string blanks(200000, ' ');
  EXPECT_EQ(Name2(blanks, std::string(252, ' ') + "x", 9), blanks);
  using std::chrono::duration_cast, std::chrono::milliseconds;
  const auto elapsed = duration_cast<milliseconds>(std::chrono::steady_clock::now() - start);
  RecordProperty("milliseconds", static_cast<int>(elapsed.count()));
}

}  // namespace
