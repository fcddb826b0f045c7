// Several threads calling the library at once.  The reentrant exports must
// give every thread exactly what a single-threaded call gives; the exports
// that share state (the default separator) or read the clock (the shuffle)
// may interleave but must never crash or corrupt anything.
// Meant for the ThreadSanitizer build, and run in every build.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "support/native_runner.h"

namespace {

bool UsesSharedState(const tkcases::Case& c) {
  return c.info->name == "cSetDefaultSeparator" || c.info->name == "cGet" ||
         c.info->name == "cMixChars";
}

// Runs f(case) for every case on four threads at once, each from its own
// starting point; returns how many calls f found wrong.
template <typename F>
int OnFourThreads(const std::vector<const tkcases::Case*>& cases, int rounds, F f) {
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (size_t t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < rounds; ++round) {
        for (size_t i = 0; i < cases.size(); ++i) {
          if (!f(*cases[(i + t * 97) % cases.size()])) ++wrong;
        }
      }
    });
  }
  for (std::thread& t : threads) t.join();
  return wrong.load();
}

std::vector<const tkcases::Case*> Cases(bool shared) {
  std::vector<const tkcases::Case*> out;
  for (const tkcases::CaseFile& file : tkcases::AllCases().files) {
    for (const tkcases::Case& c : file.cases) {
      if (UsesSharedState(c) == shared && (shared || c.clock < 0)) out.push_back(&c);
    }
  }
  return out;
}

TEST(Concurrency, ReentrantExportsGiveSingleThreadedResults) {
  EXPECT_EQ(OnFourThreads(Cases(false), 3, [](const tkcases::Case& c) {
              return tksupport::CheckNative(c).empty();
            }),
            0);
}

TEST(Concurrency, SharedStateInterleavesWithoutHarm) {
  EXPECT_EQ(OnFourThreads(Cases(true), 20, [](const tkcases::Case& c) {
              tkcases::Case unclocked = c;
              unclocked.clock = -1;  // the clock hook is process-wide
              const tkcases::Outcome seen = tksupport::RunNative(unclocked);
              return seen.error.empty() && seen.changed_argument.empty() && !seen.result_null &&
                     !seen.result_aliased;
            }),
            0);
  // Leave the default separator as every case file expects it.
  tkcases::Case reset;
  ASSERT_EQ(tkcases::ParseCase("cSetDefaultSeparator '|'", reset), "");
  tksupport::RunNative(reset);
}

}  // namespace
