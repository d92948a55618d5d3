// The recording's name (/o) and desktop full screen (/d) on the command line,
// and the names later recordings of a run take.
#include <gtest/gtest.h>

#include "app/LaunchSettings.h"
#include "app/MainLoop.h"
#include "app/Switches.h"

namespace {

class OutputSwitch : public ::testing::Test {
 protected:
  void SetUp() override { launchSettings = LaunchSettings(); }
  void TearDown() override { launchSettings = LaunchSettings(); }
};

TEST_F(OutputSwitch, NameRunsToTheNextBlankAndTheSwitchesAfterItStillCount) {
  parseSwitches("/oshow.mkv /w /z2");
  EXPECT_EQ(launchSettings.captureFile, "show.mkv");
  EXPECT_FALSE(launchSettings.fullScreen);
  EXPECT_EQ(launchSettings.width, 1024);

  // A folder in the name is no switch: /t and /m of "/tmp/..." stay untouched.
  launchSettings = LaunchSettings();
  parseSwitches("/w /o/tmp/my.recs/out.mp4 /s2");
  EXPECT_EQ(launchSettings.captureFile, "/tmp/my.recs/out.mp4");
  EXPECT_FLOAT_EQ(launchSettings.timeOffset, -0.04f);
  EXPECT_FALSE(launchSettings.captureAtStart);
  EXPECT_EQ(launchSettings.startScene, 2);

  // Packed switches before the name, and a name at the very end.
  launchSettings = LaunchSettings();
  parseSwitches("/w/m/oclip.mp4");
  EXPECT_EQ(launchSettings.captureFile, "clip.mp4");
  EXPECT_TRUE(launchSettings.captureAtStart);
}

TEST_F(OutputSwitch, EmptyNameKeepsTheDefaultAndTheLastNameWins) {
  testing::internal::CaptureStdout();
  parseSwitches("/o /w");
  EXPECT_NE(testing::internal::GetCapturedStdout().find("names no file"), std::string::npos);
  EXPECT_EQ(launchSettings.captureFile, "wirefall.avi");
  EXPECT_FALSE(launchSettings.fullScreen);
  parseSwitches("/oa.mkv /ob.mp4");
  EXPECT_EQ(launchSettings.captureFile, "b.mp4");
}

TEST_F(OutputSwitch, LaterRecordingsNumberBeforeTheExtension) {
  launchSettings.captureFile = "show.mp4";
  EXPECT_STREQ(captureFileName(0), "show.mp4");
  EXPECT_STREQ(captureFileName(1), "show-2.mp4");
  launchSettings.captureFile = "my.recs/take";
  EXPECT_STREQ(captureFileName(2), "my.recs/take-3");
  launchSettings.captureFile = ".hidden";
  EXPECT_STREQ(captureFileName(1), ".hidden-2");
}

TEST_F(OutputSwitch, DesktopFullScreenAndWindowedFollowTheLastOne) {
  parseSwitches("/d");
  EXPECT_TRUE(launchSettings.desktopFullScreen);
  EXPECT_TRUE(launchSettings.fullScreen);
  parseSwitches("/d /w");
  EXPECT_FALSE(launchSettings.fullScreen);
  parseSwitches("/w /d");
  EXPECT_TRUE(launchSettings.fullScreen);
  EXPECT_TRUE(launchSettings.desktopFullScreen);
}

}  // namespace
