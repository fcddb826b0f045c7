// Every case file through the native library, one test per family, each
// Integer case with both patterns of slot garbage.  A case also fails when
// it leaves a scratch buffer or a BSTR alive.
#include <gtest/gtest.h>

#include <string>

#include "support/native_runner.h"

namespace {

TEST(CaseFiles, Parse) {
  for (const std::string& error : tkcases::AllCases().errors) ADD_FAILURE() << error;
  EXPECT_FALSE(tkcases::AllCases().files.empty());
}

class FamilyTest : public testing::Test {
 public:
  explicit FamilyTest(const tkcases::CaseFile& file) : file_(file) {}
  void TestBody() override {
    for (const tkcases::Case& c : file_.cases) {
      tksupport::Allocations left;
      EXPECT_EQ(tksupport::CheckNative(c, &left), "")
          << c.where << ": " << c.text;
      EXPECT_EQ(left.live_scratch + left.live_bstrs, 0) << c.where << ": left memory alive";
    }
  }

 private:
  const tkcases::CaseFile& file_;
};

}  // namespace

// Called from main: a test for each family.
void RegisterCaseFiles() {
  for (const tkcases::CaseFile& file : tkcases::AllCases().files) {
    testing::RegisterTest("Cases", std::string(file.family).c_str(), nullptr, nullptr, __FILE__,
                          __LINE__, [&file]() -> testing::Test* { return new FamilyTest(file); });
  }
}
