// Recording from a later scene (/sN with /m): the file starts with scene N at
// its own beginning, the soundtrack starts at that scene's place in the music,
// and the recording runs to the show's end. One test a scene, so each is a
// ctest entry of its own and they run side by side.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "ShowRun.h"
#include "support/RunCommand.h"

namespace fs = std::filesystem;
using namespace showrun;

namespace {

// True when `part` appears in `whole` at byte `at`, give or take a few
// stereo samples (the two decodes may round the start differently).
bool foundNear(const std::string& whole, const std::string& part, long at) {
  for (long shift = -3; shift <= 3; ++shift) {
    const long from = at + shift * 4;
    if (from >= 0 && whole.compare(size_t(from), part.size(), part) == 0) return true;
  }
  return false;
}

}  // namespace

class StartScene : public ::testing::TestWithParam<int> {};

TEST_P(StartScene, EverySceneCanOpenARecordingWithItsOwnMusic) {
  const std::string music = std::string(ZOLT_OUTPUT_DIR) + "/zolt.mp3";
  const std::string wholeSound = decodeSound(music);
  {
    const int scene = GetParam();
    const std::string folder = freshFolder("start-scene-" + std::to_string(scene));
    linkArchive(folder);
    linkMusic(folder);
    const Result r = run(folder, "/w /m /f1 /cffv1 /s" + std::to_string(scene), "", 600);
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("AVI: scene " + std::to_string(scene) + " from frame 0"), std::string::npos)
        << r.output;
    // From the scene's start (local time -0.04 on frame 0) to the first frame
    // past the show's end.
    const double length = secondsAtBeat(kSceneStartBeat[8] - kSceneStartBeat[scene]);
    const long long frames = static_cast<long long>(std::ceil(length - kTimeOffset)) + 1;
    const std::string file = folder + "/wirefall.avi";
    EXPECT_EQ(countVideoFrames(file), frames);
    // The file's first second of sound is the music at the scene's start.
    const std::string sound = decodeSound(file, "-t 1");
    ASSERT_EQ(sound.size(), size_t(44100) * 4);
    const long at = std::lround(secondsAtBeat(kSceneStartBeat[scene]) * 44100.0) * 4;
    EXPECT_TRUE(foundNear(wholeSound, sound.substr(64, sound.size() - 128), at + 64));
    fs::remove_all(folder);
  }
}

INSTANTIATE_TEST_SUITE_P(Scenes, StartScene, ::testing::Range(1, 8));
