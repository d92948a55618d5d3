#include <gtest/gtest.h>

#include "app/CaptureCodec.h"
#include "app/LaunchSettings.h"
#include "app/Switches.h"
#include "gfx/Random.h"

namespace {

class SwitchesTest : public ::testing::Test {
 protected:
  void SetUp() override { launchSettings = LaunchSettings(); }
  void TearDown() override { launchSettings = LaunchSettings(); }
};

TEST_F(SwitchesTest, SeparatorsAndBlanksDoNotMatter) {
  parseSwitches("/w/z2/s3");
  LaunchSettings packed = launchSettings;
  launchSettings = LaunchSettings();
  parseSwitches("/w /z2 /s3 ");
  EXPECT_EQ(packed.fullScreen, launchSettings.fullScreen);
  EXPECT_FALSE(launchSettings.fullScreen);
  EXPECT_EQ(launchSettings.width, 1024);
  EXPECT_EQ(launchSettings.height, 768);
  EXPECT_EQ(launchSettings.startScene, 3);
  EXPECT_EQ(packed.startScene, 3);
}

TEST_F(SwitchesTest, ResolutionCodesOutsideTheTableGive640x480) {
  for (const char* tail : {"/z7", "/z0", "/z", "/z-1", "/zabc"}) {
    launchSettings = LaunchSettings();
    launchSettings.width = 1;
    parseSwitches(tail);
    EXPECT_EQ(launchSettings.width, 640) << tail;
    EXPECT_EQ(launchSettings.height, 480) << tail;
  }
  parseSwitches("/z1");
  EXPECT_EQ(launchSettings.width, 800);
  parseSwitches("/z3");
  EXPECT_EQ(launchSettings.height, 960);
}

TEST_F(SwitchesTest, ArgumentsFollowAtoiAndAtof) {
  parseSwitches("/s-1/t0.25xyz/f60fps");
  EXPECT_EQ(launchSettings.startScene, -1);
  EXPECT_FLOAT_EQ(launchSettings.timeOffset, 0.25f);
  EXPECT_EQ(launchSettings.captureFps, 60);
  parseSwitches("/s0/tabc");
  EXPECT_EQ(launchSettings.startScene, 0);
  EXPECT_FLOAT_EQ(launchSettings.timeOffset, 0.0f);
}

TEST_F(SwitchesTest, LastSwitchWinsAndUnknownLettersAreIgnored) {
  parseSwitches("/z3/x/Q99/z1/s4/s2");
  EXPECT_EQ(launchSettings.width, 800);
  EXPECT_EQ(launchSettings.startScene, 2);
  // Unknown letters leave everything else at the defaults.
  EXPECT_TRUE(launchSettings.fullScreen);
  EXPECT_TRUE(launchSettings.quality);
  EXPECT_FALSE(launchSettings.captureAtStart);
}

TEST_F(SwitchesTest, AnyTailWithoutKnownSwitchesKeepsDefaults) {
  parseSwitches("hello world");
  EXPECT_TRUE(launchSettings.fullScreen);
  EXPECT_EQ(launchSettings.width, 640);
  parseSwitches("/");
  EXPECT_EQ(launchSettings.height, 480);
}

TEST_F(SwitchesTest, FlagsAndCaptureRate) {
  parseSwitches("/g/m/f25");
  EXPECT_FALSE(launchSettings.quality);
  EXPECT_TRUE(launchSettings.captureAtStart);
  EXPECT_EQ(launchSettings.captureFps, 25);
  // A rate that would stop the capture clock is refused.
  parseSwitches("/f0/f-5");
  EXPECT_EQ(launchSettings.captureFps, 25);
}

TEST_F(SwitchesTest, CodecSwitchPicksTheCaptureCodec) {
  parseSwitches("/w/cFFV1 /m");
  EXPECT_EQ(captureCodec(), "ffv1");
  EXPECT_TRUE(launchSettings.captureAtStart);
  parseSwitches(std::string("/c").append(defaultCaptureCodec()).c_str());
  EXPECT_EQ(captureCodec(), defaultCaptureCodec());
}

TEST_F(SwitchesTest, WithoutReseedTheGeneratorRepeats) {
  zolt::seedRandom(1);
  parseSwitches("/w/z1");
  const int first = zolt::random();
  zolt::seedRandom(1);
  parseSwitches("/w/z1");
  EXPECT_EQ(zolt::random(), first);
}

TEST(CommandTail, JoinsArgumentsWithSingleSpaces) {
  char prog[] = "zolt", a[] = "/w", b[] = "/z2", c[] = "/s1";
  char* argv[] = {prog, a, b, c};
  EXPECT_EQ(commandTail(4, argv), "/w /z2 /s1");
  EXPECT_EQ(commandTail(1, argv), "");
}

}  // namespace
