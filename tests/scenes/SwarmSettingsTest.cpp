// "bug.cfg" as a user may break it: missing keys, counts of zero or less,
// absurd numbers and junk all give a line on standard output and a swarm
// the machine can draw.
#include <gtest/gtest.h>

#include <string>

#include "scenes/swarm/SwarmSettings.h"

namespace {

SwarmSettings read(const char* text, std::string* output) {
  testing::internal::CaptureStdout();
  const SwarmSettings settings = readSwarmSettings(text);
  *output = testing::internal::GetCapturedStdout();
  return settings;
}

TEST(SwarmSettings, ReadsAWellFormedFileSilently) {
  std::string out;
  const SwarmSettings s = read("# swarm\nnumBugs = 120\nspeed = 12\ndrawCount = 2\nalpha = 0.5\n", &out);
  EXPECT_EQ(s.numBugs, 120);
  EXPECT_EQ(s.speed, 12);
  EXPECT_EQ(s.drawCount, 2);
  EXPECT_FLOAT_EQ(s.alpha, 0.5f);
  EXPECT_EQ(out, "");
}

TEST(SwarmSettings, MissingKeysTakeTheDefaultsAndSaySo) {
  std::string out;
  const SwarmSettings s = read("speed = 9\n", &out);
  const SwarmSettings defaults;
  EXPECT_EQ(s.numBugs, defaults.numBugs);
  EXPECT_EQ(s.speed, 9);
  EXPECT_EQ(s.drawCount, defaults.drawCount);
  EXPECT_EQ(s.alpha, defaults.alpha);
  EXPECT_NE(out.find("\"numBugs\" missing, using 300"), std::string::npos) << out;
  EXPECT_NE(out.find("\"drawCount\" missing"), std::string::npos) << out;
  EXPECT_NE(out.find("\"alpha\" missing"), std::string::npos) << out;

  const SwarmSettings none = read(nullptr, &out);
  EXPECT_EQ(none.numBugs, defaults.numBugs);
  EXPECT_NE(out.find("not readable"), std::string::npos);
}

TEST(SwarmSettings, CountsOfZeroOrLessAreRefused) {
  std::string out;
  const SwarmSettings s = read("numBugs = 0\nspeed = -4\ndrawCount = -1\nalpha = -2\n", &out);
  const SwarmSettings defaults;
  EXPECT_EQ(s.numBugs, defaults.numBugs);
  EXPECT_EQ(s.speed, defaults.speed);
  EXPECT_EQ(s.drawCount, defaults.drawCount);
  EXPECT_EQ(s.alpha, defaults.alpha);
  EXPECT_NE(out.find("\"numBugs\" = 0 is not a positive count"), std::string::npos) << out;
  EXPECT_NE(out.find("\"speed\" = -4"), std::string::npos) << out;
}

TEST(SwarmSettings, AbsurdValuesAreHeldAtTheirBounds) {
  std::string out;
  const SwarmSettings s =
      read("numBugs = 1000000000\nspeed = 99999999999999999999\ndrawCount = 4096\nalpha = 1e30\n", &out);
  EXPECT_EQ(s.numBugs, kMaxBugs);
  EXPECT_EQ(s.speed, kMaxSpeed);
  EXPECT_EQ(s.drawCount, kMaxBugPasses / kMaxBugs);
  EXPECT_EQ(s.alpha, SwarmSettings().alpha);
  EXPECT_NE(out.find("\"numBugs\" = 1000000000 is too large, using 4000"), std::string::npos) << out;
}

// Numbers atoi would misread and empty values give one line each; counts
// drawable alone but not together lose passes, with one line.
TEST(SwarmSettings, UnreadableNumbersAndTooManyPassesAreToldOnce) {
  std::string out;
  SwarmSettings s = read("numBugs = 1500.7\nspeed = 1e400\ndrawCount = inf\nalpha =\n", &out);
  EXPECT_EQ(s.numBugs, 1500);
  EXPECT_EQ(s.speed, SwarmSettings().speed);
  EXPECT_EQ(s.drawCount, 2);
  EXPECT_EQ(out,
            "bug.cfg: \"numBugs\" = 1500.7 is not a whole number, using 1500\n"
            "bug.cfg: \"speed\" = 1e400 is not a finite number, using 54\n"
            "bug.cfg: \"drawCount\" = inf is not a finite number, using 3\n"
            "bug.cfg: 1500 creatures x 3 passes are more than a frame can draw, using 2 passes\n"
            "bug.cfg: \"alpha\" has no value, using 0.35\n");
  EXPECT_EQ(read("numBugs = 1e3\nspeed = 5\ndrawCount = 4\nalpha = 0.5\n", &out).drawCount, 4);
  EXPECT_EQ(out, "");
}

TEST(SwarmSettings, JunkValuesReadAsNothingUsable) {
  std::string out;
  const SwarmSettings s = read("numBugs = lots\nspeed =\ndrawCount = 3x\nalpha = nan\n", &out);
  EXPECT_EQ(s.numBugs, SwarmSettings().numBugs);
  EXPECT_EQ(s.speed, SwarmSettings().speed);
  EXPECT_EQ(s.drawCount, 3);
  EXPECT_EQ(s.alpha, SwarmSettings().alpha);
}

}  // namespace
