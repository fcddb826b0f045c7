// Runs every registered behaviour table through the native library, one
// test per table, and checks that no call leaves a scratch buffer or BSTR
// alive.
#include <gtest/gtest.h>

#include <string>

#include "cases/case.h"
#include "cases/outcome.h"
#include "exports/export_table.h"
#include "support/native_runner.h"
#include "twinekit_test_hooks.h"

namespace {

class CaseTableTest : public testing::Test {
 public:
  explicit CaseTableTest(const tkcases::CaseTable& table) : table_(table) {}

  void TestBody() override {
    for (const tkcases::Case& c : table_.cases) {
      const twinekit::ExportInfo* info = twinekit::FindExport(c.fn);
      ASSERT_NE(info, nullptr) << c.fn;
      const int64_t scratch = tk_test_live_scratch();
      const int64_t bstrs = tk_test_live_bstrs();
      const tkcases::Outcome seen = tksupport::RunNative(c);
      const std::string problem = tkcases::CheckOutcome(c, info->result, seen);
      EXPECT_EQ(problem, "") << tkcases::Describe(c, info->args);
      EXPECT_EQ(tk_test_live_scratch(), scratch) << "scratch left alive by " << tkcases::Describe(c, info->args);
      EXPECT_EQ(tk_test_live_bstrs(), bstrs) << "BSTR left alive by " << tkcases::Describe(c, info->args);
    }
  }

 private:
  const tkcases::CaseTable& table_;
};

}  // namespace

// Called from main, once every table has registered itself.
void RegisterBehaviourTables() {
  for (const tkcases::CaseTable& table : tkcases::AllTables()) {
    testing::RegisterTest("BehaviourCases", std::string(table.family).c_str(), nullptr, nullptr,
                          __FILE__, __LINE__,
                          [&table]() -> testing::Test* { return new CaseTableTest(table); });
  }
}
