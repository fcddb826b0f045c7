// Hostile inputs for both matchers, through the exports: many stars against
// a long text that almost matches, patterns of a hundred thousand bytes,
// texts of a million bytes.  Each call runs on a thread with a 256 KB stack
// (a Basic host has 1 MB) and must finish within a watchdog's limit of
// processor time; a matcher that recursed once per pattern byte, or tried
// its stars' choices exhaustively, would crash or run for ages.
#include <gtest/gtest.h>
#include <pthread.h>
#include <time.h>

#include <cstdint>
#include <string>

#include "frame/platform.h"
#include "twinekit.h"

namespace {

// A watchdog, not a measure of speed: the matchers take milliseconds on
// every call here, even in sanitizer and Debug builds on a loaded machine,
// while one that tried its stars' choices exhaustively would run for far
// longer than this on the first of them.
constexpr double kLimitMs = 10000;

std::string Repeat(const std::string& unit, size_t times) {
  std::string s;
  for (size_t i = 0; i < times; ++i) s += unit;
  return s;
}

struct Call {
  const char* name;
  std::string txt, pattern;
  int32_t plain_want, ext_want;  // cPatternMatch, cPatternExtMatch
  int32_t plain = 99, ext = 99;
  double ms = 0;
};

// Processor time of this thread: unlike the wall clock, it leaves out what
// other processes on a busy machine take.
double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

void* RunCall(void* arg) {
  Call& call = *static_cast<Call*>(arg);
  BSTR txt = SysAllocStringByteLen(call.txt.data(), static_cast<UINT>(call.txt.size()));
  BSTR pattern = SysAllocStringByteLen(call.pattern.data(), static_cast<UINT>(call.pattern.size()));
  const double start = ThreadCpuMs();
  call.plain = cPatternMatch(txt, pattern);
  call.ext = cPatternExtMatch(txt, pattern);
  call.ms = ThreadCpuMs() - start;
  SysFreeString(txt);
  SysFreeString(pattern);
  return nullptr;
}

TEST(PatternsAdversarial, FastAndShallow) {
  const std::string mb(1000000, 'a');
  Call calls[] = {
      // Exhaustive trial of the stars' choices would take time exponential
      // in the number of stars.
      {"5000 stars, 1 MB of a", mb, Repeat("*a", 5000) + "*b", 0, 12},
      {"stars and ?, 1 MB of a", mb, Repeat("*?a", 300) + "b", 0, 12},
      {"stars and sets, 1 MB of a", mb, Repeat("*[a-c]", 300) + "*[!a]", 0, 12},
      {"50000 stars matching", Repeat("ab", 50000), Repeat("*b", 50000), -1, -1},
      // Recursion per element would overflow the small stack.
      {"100000 ?", std::string(100000, 'x'), std::string(100000, '?'), -1, -1},
      {"100000 * then a", "xyza", std::string(99999, '*') + "a", 0, -1},
      {"1 MB, star in front", mb + "b", "*ab", -1, -1},
      {"1 MB, set after a star", mb, "*[b-z]", 0, 12},
      // The worst shape: a star before a long segment that fails at its
      // end at every place; the time grows as the product of the lengths.
      {"40-byte segment, 100000 bytes of text", std::string(100000, 'a'),
       "*" + std::string(40, 'a') + "b", 0, 12},
  };
  for (Call& call : calls) {
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, 256 * 1024);
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attr, RunCall, &call), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
    EXPECT_EQ(call.plain, call.plain_want) << call.name;
    EXPECT_EQ(call.ext, call.ext_want) << call.name;
    EXPECT_LT(call.ms, kLimitMs) << call.name;
  }
}

}  // namespace
