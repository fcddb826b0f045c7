// Hostile inputs for both matchers, through the exports: many stars against
// a long text that almost matches, patterns of a hundred thousand bytes,
// texts of a million bytes.  Each call runs on a thread with a 256 KB
// stack (a Basic host has 1 MB) and must finish in milliseconds of
// processor time; a matcher
// that recursed once per pattern byte, or tried its stars' choices
// exhaustively, would crash or run for ages.
#include <gtest/gtest.h>
#include <pthread.h>
#include <time.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "frame/platform.h"
#include "twinekit.h"
#include "twinekit_test_hooks.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr double kSlowdown = 10;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr double kSlowdown = 10;
#else
constexpr double kSlowdown = 1;
#endif
#else
constexpr double kSlowdown = 1;
#endif

// Processor time per case; each takes a few milliseconds.
constexpr double kLimitMs = 250 * kSlowdown;

std::string Repeat(const std::string& unit, size_t times) {
  std::string s;
  s.reserve(unit.size() * times);
  for (size_t i = 0; i < times; ++i) s += unit;
  return s;
}

struct Call {
  const char* name;
  std::string txt;
  std::string pattern;
  int32_t plain_want;  // cPatternMatch
  int32_t ext_want;    // cPatternExtMatch
};

struct Seen {
  int32_t plain = 99;
  int32_t ext = 99;
  double ms = 0;
};

struct Job {
  const Call* call;
  Seen* seen;
};

// The processor time this thread has used: unlike the wall clock, it does
// not count the time other processes on a busy machine take.
double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

void* RunCall(void* arg) {
  const Job& job = *static_cast<Job*>(arg);
  BSTR txt = SysAllocStringByteLen(job.call->txt.data(), static_cast<UINT>(job.call->txt.size()));
  BSTR pattern =
      SysAllocStringByteLen(job.call->pattern.data(), static_cast<UINT>(job.call->pattern.size()));
  const double start = ThreadCpuMs();
  job.seen->plain = cPatternMatch(txt, pattern);
  job.seen->ext = cPatternExtMatch(txt, pattern);
  job.seen->ms = ThreadCpuMs() - start;
  SysFreeString(txt);
  SysFreeString(pattern);
  return nullptr;
}

// Runs both exports on a thread whose stack is 256 KB.
Seen RunOnSmallStack(const Call& call) {
  Seen seen;
  Job job{&call, &seen};
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, 256 * 1024);
  pthread_t thread;
  EXPECT_EQ(pthread_create(&thread, &attr, RunCall, &job), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
  return seen;
}

std::vector<Call> HostileCalls() {
  const std::string million_a(1000000, 'a');
  std::vector<Call> calls;
  // Stars against a text that almost matches: exhaustive trial of every
  // star's choices would take time exponential in the number of stars.
  calls.push_back({"eight stars, 1 MB of a", million_a, "*a*a*a*a*a*a*a*a*b", 0, 12});
  calls.push_back({"5000 stars, 1 MB of a", million_a, Repeat("*a", 5000) + "*b", 0, 12});
  calls.push_back({"stars and ?, 1 MB of a", million_a, Repeat("*?a", 300) + "b", 0, 12});
  calls.push_back({"stars and sets, 1 MB of a", million_a, Repeat("*[a-c]", 300) + "*[!a]", 0, 12});
  calls.push_back({"50000 stars matching", Repeat("ab", 50000), Repeat("*b", 50000), -1, -1});
  // Patterns of a hundred thousand bytes: any recursion per element would
  // overflow the small stack.
  calls.push_back({"100000 ?", std::string(100000, 'x'), std::string(100000, '?'), -1, -1});
  calls.push_back({"100000 *", "abc", std::string(100000, '*'), 0, -1});
  calls.push_back({"100000 * then a", "xyza", std::string(99999, '*') + "a", 0, -1});
  calls.push_back({"one set of 100000 bytes", "z", "[" + std::string(99998, 'a') + "]", 0, 13});
  // Admitted by its first member, the set is skipped to its end four
  // bytes at a time ("\~" swallows the next two).
  calls.push_back(
      {"one set, admitted at its start", "a", "[a" + Repeat("\\~", 50000) + "]", 0, -1});
  calls.push_back({"one set, skipped past its end", "a", "[a" + Repeat("\\~", 49999) + "]", 0, 0});
  calls.push_back({"100000 escapes", Repeat("*", 50000), Repeat("\\*", 50000), 0, -1});
  calls.push_back({"100000 hex pairs", Repeat("A", 33333), Repeat("~41", 33333) + "?", 0, 12});
  // Texts of a million bytes.
  calls.push_back({"1 MB, star in front", million_a + "b", "*ab", -1, -1});
  calls.push_back({"1 MB, plain bytes", million_a, million_a, -1, 1});
  calls.push_back({"1 MB, set after a star", million_a, "*[b-z]", 0, 12});
  calls.push_back({"1 MB, hex after a star", million_a, "*~62", 0, 12});
  // The worst shape: a star before a long segment that fails at its end at
  // every place.  The time grows as the product of the two lengths.
  calls.push_back({"40-byte segment, 100000 bytes of text", std::string(100000, 'a'),
                   "*" + std::string(40, 'a') + "b", 0, 12});
  return calls;
}

TEST(PatternsAdversarial, FastAndShallow) {
  for (const Call& call : HostileCalls()) {
    const Seen seen = RunOnSmallStack(call);
    EXPECT_EQ(seen.plain, call.plain_want) << call.name;
    EXPECT_EQ(seen.ext, call.ext_want) << call.name;
    EXPECT_LT(seen.ms, kLimitMs) << call.name;
    std::printf("  %-40s %8.2f ms\n", call.name, seen.ms);
  }
}

// Neither export allocates anything, not even on bad patterns.
TEST(PatternsAdversarial, NoAllocation) {
  const std::string texts[] = {"", "abc", "a[b]c", std::string(1000, 'a')};
  const std::string patterns[] = {"", "*", "a*c", "[a-", "[!]", "*~4", "~ZZ", "\\", "*[a\\~]a]"};
  for (const std::string& t : texts) {
    for (const std::string& p : patterns) {
      BSTR txt = SysAllocStringByteLen(t.data(), static_cast<UINT>(t.size()));
      BSTR pattern = SysAllocStringByteLen(p.data(), static_cast<UINT>(p.size()));
      const int64_t scratch = tk_test_scratch_allocations();
      const int64_t bstrs = tk_test_bstr_allocations();
      cPatternMatch(txt, pattern);
      cPatternExtMatch(txt, pattern);
      EXPECT_EQ(tk_test_scratch_allocations(), scratch);
      EXPECT_EQ(tk_test_bstr_allocations(), bstrs);
      SysFreeString(txt);
      SysFreeString(pattern);
    }
  }
}

}  // namespace
