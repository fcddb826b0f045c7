// A tab expansion whose result runs to megabytes is built whole.  (Sizes
// past what a string may hold are refused: see the size arithmetic tests
// and the cases.)
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/host_string.h"
#include "twinekit.h"

namespace {

using tksupport::HostString;
using tksupport::Take;

TEST(CompressExports, ExpandTabWithAWideTabBuildsTheWholeResult) {
  constexpr int32_t kWidth = 1 << 20;
  HostString txt("a\tb\t\tc");
  const std::string out = Take(cExpandTab(txt.ref(), kWidth));
  ASSERT_EQ(out.size(), 3u + 3u * kWidth);
  EXPECT_EQ(out, "a" + std::string(kWidth, ' ') + "b" + std::string(2 * kWidth, ' ') + "c");
}

}  // namespace
