// The built program on a machine whose sound device cannot open (forced
// here through ALSA and a card that does not exist): a recording from launch
// touches no device, a live run says so in one line, and neither lets the
// sound library print its own complaints.
#include <gtest/gtest.h>

#include <string>

#include "support/ZoltRunner.h"

namespace {

using testsupport::countLines;

// Runs zolt with `switches` in a fresh folder beside the archive and the
// soundtrack, with ALSA sent to a card that is not there.
testsupport::ZoltRun runWithoutSoundDevice(const std::string& switches) {
  // One folder per test: ctest runs the two side by side.
  const std::string folder = testsupport::freshRunFolder(
      std::string("zolt-silent-run-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
  testsupport::linkBuilt(folder, "trov.qz5");
  testsupport::linkBuilt(folder, "zolt.mp3");
  auto run = testsupport::runZolt(ZOLT_OUTPUT_DIR "/zolt", folder, switches,
                                  "SDL_AUDIODRIVER=alsa AUDIODEV=hw:99", 120);
  std::filesystem::remove_all(folder);
  return run;
}

}  // namespace

// /t300 puts every scene past its end, so the run ends after a frame each.
TEST(SilentRun, RecordingFromLaunchOpensNoSoundDevice) {
  const auto [status, output] = runWithoutSoundDevice("/w /m /t300");
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("AVI: recording"), std::string::npos) << output;
  EXPECT_EQ(countLines(output, "ALSA lib"), 0) << output;
  EXPECT_EQ(countLines(output, "No sound device"), 0) << output;
}

TEST(SilentRun, LiveRunWithoutADeviceSaysSoInOneLine) {
  const auto [status, output] = runWithoutSoundDevice("/w /t300");
  EXPECT_EQ(status, 0) << output;
  EXPECT_EQ(countLines(output, "ALSA lib"), 0) << output;
  EXPECT_EQ(countLines(output, "No sound device"), 1) << output;
  EXPECT_EQ(countLines(output, "Cannot play music"), 0) << output;
  EXPECT_EQ(countLines(output, "distortion: "), 1) << output;  // the path the start-up chose
}
