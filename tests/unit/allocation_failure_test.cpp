// Every behaviour case again, with each allocation its export makes failing
// in turn, once and from then on.  Whatever the export's own answer to the
// failure, a Basic host must never suffer for it: no crash, nothing left
// alive, no argument changed, and a string result that is the empty result
// (search and replace: its text unchanged), or a null BSTR when the
// result's own allocation failed.
#include <gtest/gtest.h>

#include <string>

#include "cases/case.h"
#include "cases/outcome.h"
#include "exports/export_table.h"
#include "support/native_runner.h"
#include "twinekit_test_hooks.h"

namespace {

using tksupport::Attempts;
using tksupport::Fault;

void CheckUnderFault(const tkcases::Case& c, const twinekit::ExportInfo& info, Fault fault) {
  const int64_t scratch = tk_test_live_scratch();
  const int64_t bstrs = tk_test_live_bstrs();
  const tkcases::Outcome seen = tksupport::RunNative(c, fault);
  const std::string where = tkcases::Describe(c, info.args) + " failing " +
                            (fault.kind == Fault::kScratch ? "scratch" : "BSTR") + " allocation " +
                            std::to_string(fault.k) + (fault.persistent ? " and later" : "");
  EXPECT_EQ(tk_test_live_scratch(), scratch) << where;
  EXPECT_EQ(tk_test_live_bstrs(), bstrs) << where;
  EXPECT_EQ(seen.changed_argument, "") << where;
  EXPECT_EQ(seen.error, "") << where;
  if (info.result == 'S') {
    EXPECT_FALSE(seen.result_aliased) << where;
    // Working memory that cannot be had gives the empty result (search and
    // replace: its text unchanged); a failed BSTR gives the empty result,
    // or a null one when it was the result's own.
    const bool search_and_replace = c.fn == "cStringSAR";
    if (seen.result_null) {
      EXPECT_EQ(fault.kind, Fault::kBstr) << where << ": null result without a failed BSTR";
    } else if (search_and_replace && fault.kind == Fault::kScratch) {
      EXPECT_EQ(seen.bytes, c.args[0].bytes) << where;
    } else {
      EXPECT_EQ(seen.bytes, "") << where;
    }
  }
}

TEST(AllocationFailure, EveryAllocationOfEveryCase) {
  int64_t runs = 0;
  for (const tkcases::CaseTable& table : tkcases::AllTables()) {
    for (const tkcases::Case& c : table.cases) {
      const twinekit::ExportInfo* info = twinekit::FindExport(c.fn);
      ASSERT_NE(info, nullptr) << c.fn;
      Attempts attempts;
      tksupport::RunNative(c, {}, &attempts);
      for (int64_t k = 1; k <= attempts.scratch; ++k) {
        for (bool persistent : {false, true}) {
          CheckUnderFault(c, *info, {Fault::kScratch, k, persistent});
          ++runs;
        }
      }
      for (int64_t k = 1; k <= attempts.bstrs; ++k) {
        for (bool persistent : {false, true}) {
          CheckUnderFault(c, *info, {Fault::kBstr, k, persistent});
          ++runs;
        }
      }
    }
  }
  EXPECT_GT(runs, 0);
}

}  // namespace
