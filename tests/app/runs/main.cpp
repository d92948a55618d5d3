// The whole-program runs: --zolt=PATH picks the program under test (the
// sanitized build runs the same checks), --zolt-env=TEXT sets variables for
// each of its runs, --shared-dir=PATH and --record-fps=N say where and how
// the whole show is recorded for the checks that read it; the rest goes to
// GoogleTest.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ShowRun.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], "--zolt=", 7) == 0)
      showrun::zoltBinary() = argv[i] + 7;
    else if (std::strncmp(argv[i], "--zolt-env=", 11) == 0)
      showrun::runEnvironment() = argv[i] + 11;
    else if (std::strncmp(argv[i], "--shared-dir=", 13) == 0)
      showrun::sharedFolder() = argv[i] + 13;
    else if (std::strncmp(argv[i], "--record-fps=", 13) == 0)
      showrun::recordFps() = std::max(1, std::atoi(argv[i] + 13));
  const int status = RUN_ALL_TESTS();
  // A ctest entry whose filter matches nothing would pass having run nothing.
  if (::testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
    std::fprintf(stderr, "no whole-program run matches the filter\n");
    return 1;
  }
  return status;
}
