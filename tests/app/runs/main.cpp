// The whole-program runs: --zolt=PATH picks the program under test (the
// sanitized build runs the same checks) and --zolt-env=TEXT sets variables
// for each of its runs; the rest goes to GoogleTest.
#include <gtest/gtest.h>

#include <cstring>

#include "ShowRun.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], "--zolt=", 7) == 0)
      showrun::zoltBinary() = argv[i] + 7;
    else if (std::strncmp(argv[i], "--zolt-env=", 11) == 0)
      showrun::runEnvironment() = argv[i] + 11;
  return RUN_ALL_TESTS();
}
