// Several threads calling the library at once.  The reentrant exports must
// give every thread exactly what a single-threaded call gives; the exports
// that use library-wide state (the default separator, the generator) may
// interleave their use of it but must never crash or corrupt anything.
// Meant for the ThreadSanitizer build, and run in every build.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cases/case.h"
#include "cases/outcome.h"
#include "exports/export_table.h"
#include "support/native_runner.h"

namespace {

// Exports whose results depend on state another thread may change.
bool UsesSharedState(std::string_view fn) {
  return fn == "cSetDefaultSeparator" || fn == "cGet" || fn == "cMixChars";
}

struct Expected {
  const tkcases::Case* c;
  char result_kind;
  tkcases::Outcome outcome;
};

std::vector<Expected> ReentrantCases() {
  std::vector<Expected> out;
  for (const tkcases::CaseTable& table : tkcases::AllTables()) {
    for (const tkcases::Case& c : table.cases) {
      if (UsesSharedState(c.fn) || c.clock >= 0) continue;
      const twinekit::ExportInfo* info = twinekit::FindExport(c.fn);
      if (info == nullptr) continue;
      out.push_back({&c, info->result, tksupport::RunNative(c)});
    }
  }
  return out;
}

TEST(Concurrency, ReentrantExportsGiveSingleThreadedResults) {
  const std::vector<Expected> expected = ReentrantCases();
  ASSERT_FALSE(expected.empty());
  constexpr int kThreads = 4;
  constexpr int kRounds = 3;
  std::atomic<int> mismatches{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < kRounds; ++round) {
        // Each thread walks the cases from its own starting point.
        for (size_t i = 0; i < expected.size(); ++i) {
          const Expected& e = expected[(i + static_cast<size_t>(t) * 97) % expected.size()];
          const tkcases::Outcome seen = tksupport::RunNative(*e.c);
          if (seen.bytes != e.outcome.bytes || seen.number != e.outcome.number ||
              seen.after != e.outcome.after || seen.vt != e.outcome.vt ||
              seen.result_null != e.outcome.result_null) {
            ++mismatches;
          }
        }
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(mismatches.load(), 0);
}

TEST(Concurrency, SharedStateInterleavesWithoutHarm) {
  std::vector<const tkcases::Case*> shared;
  for (const tkcases::CaseTable& table : tkcases::AllTables()) {
    for (const tkcases::Case& c : table.cases) {
      if (UsesSharedState(c.fn)) shared.push_back(&c);
    }
  }
  if (shared.empty()) GTEST_SKIP() << "no cases of the shared-state exports yet";
  std::vector<std::thread> threads;
  std::atomic<int> errors{0};
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int round = 0; round < 20; ++round) {
        for (const tkcases::Case* c : shared) {
          tkcases::Case unclocked = *c;
          unclocked.clock = -1;  // the clock hook is process-wide
          const tkcases::Outcome seen = tksupport::RunNative(unclocked);
          if (!seen.error.empty() || !seen.changed_argument.empty() || seen.result_null ||
              seen.result_aliased) {
            ++errors;
          }
        }
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(errors.load(), 0);
  // Leave the default separator as every table expects it.
  const tkcases::Case reset{"cSetDefaultSeparator", {tkcases::S("|")}, tkcases::Nothing()};
  tksupport::RunNative(reset);
}

}  // namespace
