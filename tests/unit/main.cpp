#include <gtest/gtest.h>

void RegisterCaseFiles();

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  RegisterCaseFiles();
  return RUN_ALL_TESTS();
}
