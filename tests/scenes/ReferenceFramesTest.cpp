// Every finished scene, played headless as the recorder plays it, still
// draws the frames stored under tests/reference/scene<N>/ at their beats,
// within the tolerance of ReferenceFrames. A look that is meant to change is
// stored again with the command the README gives; any other change to a
// scene's numbers, widths, colours, cameras or timing fails here. A frame
// that does not match is written to captures/ beside the reference.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tools/sceneplayer/ReferenceFrames.h"
#include "tools/sceneplayer/ScenePlayer.h"

namespace {

const std::string kReferenceRoot = std::string(ZOLT_SOURCE_DIR) + "/tests/reference";

std::vector<int> scenesWithReferences() {
  std::vector<int> scenes;
  for (int scene = 0; scene < 8; ++scene) {
    if (!referenceBeatsIn(kReferenceRoot + "/scene" + std::to_string(scene)).empty()) scenes.push_back(scene);
  }
  return scenes;
}

class ReferenceFrames : public ::testing::TestWithParam<int> {};

TEST_P(ReferenceFrames, SceneDrawsItsStoredFrames) {
  const int scene = GetParam();
  const std::string dir = kReferenceRoot + "/scene" + std::to_string(scene);
  const std::vector<float> beats = referenceBeatsIn(dir);

  ScenePlayer player;
  ASSERT_TRUE(player.open(scene, 640, 480)) << player.error;
  const std::vector<RgbImage> frames = captureAtBeats(player, beats);
  ASSERT_EQ(frames.size(), beats.size()) << "the scene ended early";

  std::filesystem::create_directories("captures");
  for (size_t i = 0; i < beats.size(); ++i) {
    RgbImage reference;
    ASSERT_TRUE(readPng(dir + "/" + referenceFileName(beats[i]), &reference));
    const RgbImage small = shrink(frames[i], kReferenceShrink);
    const FrameDifference difference = compareFrames(small, reference);
    if (!framesMatch(difference)) {
      writePng("captures/reference-mismatch-" + frameFileName(scene, beats[i]), small);
    }
    EXPECT_TRUE(framesMatch(difference))
        << "scene " << scene << " at beat " << beats[i] << ": mean difference " << difference.meanAbsolute
        << ", " << difference.changedShare * 100.0 << "% of pixels changed, light changed by "
        << difference.lightChange * 100.0 << "%";
  }
}

INSTANTIATE_TEST_SUITE_P(FinishedScenes, ReferenceFrames, ::testing::ValuesIn(scenesWithReferences()));

}  // namespace
