// The main of every GoogleTest program: a child started for some work of a test does it;
// otherwise the tests run.
#include <gtest/gtest.h>

#include "support/child_process.h"

int main(int argc, char** argv) {
  if (const auto exitCode = zorvane::testing::RunChildWorkIfAsked(argc, argv)) return *exitCode;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
