// The in-place changers write only inside the caller's byte count: the
// zero terminator after it is not theirs, even when the old list holds a
// zero byte.
#include <gtest/gtest.h>

#include <string>

#include "frame/platform.h"
#include "support/host_string.h"
#include "twinekit.h"

namespace {

using tksupport::HostString;
using namespace std::literals;

TEST(CharsetsInPlace, NeverWritePastTheByteCount) {
  HostString old_chars("\0"sv), new_chars("x"), stop("y");
  HostString first("a\0b\0"sv), second("\0a\0"sv);
  EXPECT_EQ(cChangeChars(first.ref(), old_chars.ref(), new_chars.ref()), -1);
  EXPECT_EQ(cChangeCharsUntil(second.ref(), old_chars.ref(), new_chars.ref(), stop.ref()), -1);
  EXPECT_EQ(first.bytes(), "axbx");
  EXPECT_EQ(second.bytes(), "xax");
  for (BSTR s : {first.value(), second.value()}) {
    const unsigned char* after = reinterpret_cast<const unsigned char*>(s) + SysStringByteLen(s);
    EXPECT_EQ(after[0], 0);
    EXPECT_EQ(after[1], 0);
  }
}

}  // namespace
