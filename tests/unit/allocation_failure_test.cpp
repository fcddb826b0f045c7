// Every case again, with each allocation its export makes failing in turn,
// once and from then on.  Whatever the export's own answer to the failure,
// a Basic host must never suffer for it: no crash, nothing left alive, no
// argument changed, and a string result that is the empty result (search
// and replace: its text unchanged), or a null BSTR when the result's own
// allocation failed.
#include <gtest/gtest.h>

#include <string>

#include "host_call.h"
#include "support/native_runner.h"

namespace {

using tksupport::Fault;

void CheckUnderFault(const tkcases::Case& c, Fault fault) {
  tksupport::Allocations left;
  const tkcases::Outcome seen = tksupport::RunNative(c, fault, &left);
  const std::string where = c.where + ": " + c.text + ", failing " +
                            (fault.kind == Fault::kScratch ? "scratch" : "BSTR") +
                            " allocation " + std::to_string(fault.k) +
                            (fault.persistent ? " and later" : "");
  EXPECT_EQ(seen.error, "") << where;
  EXPECT_EQ(left.live_scratch + left.live_bstrs, 0) << where << ": left memory alive";
  EXPECT_EQ(seen.changed_argument, "") << where;
  if (tkhost::ResultKindOf(c.info->result) != tkhost::ResultKind::kString) return;
  EXPECT_FALSE(seen.result_aliased) << where;
  if (seen.result_null) {
    EXPECT_EQ(fault.kind, Fault::kBstr) << where << ": null result without a failed BSTR";
  } else if (c.info->name == "cStringSAR" && fault.kind == Fault::kScratch) {
    EXPECT_EQ(seen.bytes, c.args[0].bytes) << where;
  } else {
    EXPECT_EQ(seen.bytes, "") << where;
  }
}

TEST(AllocationFailure, EveryAllocationOfEveryCase) {
  int64_t runs = 0;
  for (const tkcases::CaseFile& file : tkcases::AllCases().files) {
    for (const tkcases::Case& c : file.cases) {
      tksupport::Allocations made;
      tksupport::RunNative(c, {}, &made);
      for (const auto& [kind, count] : {std::pair{Fault::kScratch, made.scratch},
                                        std::pair{Fault::kBstr, made.bstrs}}) {
        for (int64_t k = 1; k <= count; ++k) {
          for (bool persistent : {false, true}) {
            CheckUnderFault(c, {kind, k, persistent});
            ++runs;
          }
        }
      }
    }
  }
  EXPECT_GT(runs, 0);
}

}  // namespace
