#include <gtest/gtest.h>

void RegisterBehaviourTables();

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  RegisterBehaviourTables();
  return RUN_ALL_TESTS();
}
