// The built program on a machine whose sound device cannot open (forced
// here through ALSA and a card that does not exist): a recording from launch
// touches no device, a live run says so in one line, and neither lets the
// sound library print its own complaints.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/RunCommand.h"

namespace {

using testsupport::runAndRead;

// Runs zolt with `switches` in a fresh folder beside the archive and the
// soundtrack; standard output and error together, then "rc=<status>".
std::string runWithoutSoundDevice(const std::string& switches) {
  const std::string out = ZOLT_OUTPUT_DIR;
  // One folder per test: ctest runs the two side by side.
  const std::string folder = ::testing::TempDir() + "zolt-silent-run-" +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name();
  return runAndRead("rm -rf '" + folder + "' && mkdir -p '" + folder + "' && cd '" + folder +
                    "' && ln -s '" + out + "/trov.qz5' . && ln -s '" + out +
                    "/zolt.mp3' . && SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=alsa "
                    "AUDIODEV=hw:99 timeout 120 '" + out + "/zolt' " + switches +
                    " 2>&1; echo rc=$?; rm -rf '" + folder + "'");
}

int countLines(const std::string& text, const std::string& word) {
  int lines = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    if (text.substr(start, end - start).find(word) != std::string::npos) ++lines;
    start = end + 1;
  }
  return lines;
}

}  // namespace

// /t300 puts every scene past its end, so the run ends after a frame each.
TEST(SilentRun, RecordingFromLaunchOpensNoSoundDevice) {
  const std::string output = runWithoutSoundDevice("/w /m /t300");
  EXPECT_NE(output.find("rc=0"), std::string::npos) << output;
  EXPECT_NE(output.find("AVI: recording"), std::string::npos) << output;
  EXPECT_EQ(countLines(output, "ALSA lib"), 0) << output;
  EXPECT_EQ(countLines(output, "No sound device"), 0) << output;
}

TEST(SilentRun, LiveRunWithoutADeviceSaysSoInOneLine) {
  const std::string output = runWithoutSoundDevice("/w /t300");
  EXPECT_NE(output.find("rc=0"), std::string::npos) << output;
  EXPECT_EQ(countLines(output, "ALSA lib"), 0) << output;
  EXPECT_EQ(countLines(output, "No sound device"), 1) << output;
  EXPECT_EQ(countLines(output, "Cannot play music"), 0) << output;
  EXPECT_EQ(countLines(output, "distortion: "), 1) << output;  // the path the start-up chose
}
