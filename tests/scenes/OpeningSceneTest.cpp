// Scene 0 played headless from the show's own content: a frame of each act
// shows what a viewer should see (white title lines, the green model, the
// green ground), nothing is drawn where nothing belongs, and the scene ends
// and captures on its beats.
#include <gtest/gtest.h>

#include <vector>

#include "gfx/GlExtensions.h"
#include "scenes/effects/LatticeMesh.h"
#include "scenes/opening/OpeningScene.h"
#include "scenes/opening/TitleLines.h"
#include "show/ResourceRegistry.h"
#include "support/HeadlessScene.h"

namespace {

struct FrameStats {
  int white = 0;    // grey-to-white pixels (all three channels alike)
  int green = 0;    // green pixels without red or blue
  int lit = 0;      // anything above black
  bool cornersBlack = true;
};

FrameStats statsOf(const std::vector<unsigned char>& rgb) {
  FrameStats stats;
  for (size_t i = 0; i < rgb.size(); i += 3) {
    const int r = rgb[i], g = rgb[i + 1], b = rgb[i + 2];
    if (r + g + b > 0) ++stats.lit;
    if (r > 40 && std::abs(r - g) < 6 && std::abs(g - b) < 6) ++stats.white;
    if (g > 40 && r < 4 && b < 4) ++stats.green;
  }
  for (size_t corner : {size_t(0), size_t(639 * 3), size_t(479 * 640 * 3), size_t((479 * 640 + 639) * 3)}) {
    if (rgb[corner] + rgb[corner + 1] + rgb[corner + 2] != 0) stats.cornersBlack = false;
  }
  return stats;
}

class OpeningSceneHeadless : public testsupport::HeadlessScene<OpeningScene> {
 protected:
  FrameStats frameAt(float beat, float fromBeat) { return statsOf(playFrom(fromBeat, beat, 30.0f)); }
};

}  // namespace

TEST_F(OpeningSceneHeadless, BuildsFromTheShowsContent) {
  EXPECT_NEAR(scene->duration, 14.769f, 0.001f);
  EXPECT_NEAR(scene->captureTime, 12.4615f, 0.001f);
  EXPECT_GT(scene->model->faceCount, 100);
  EXPECT_NE(scene->captureTexture, nullptr);
  EXPECT_EQ(scene->captureTexture, registry->get("Capture0"));
  EXPECT_TRUE(scene->title->textList[0].created);
  EXPECT_TRUE(scene->title->textList[1].created);
}

TEST_F(OpeningSceneHeadless, EachActDrawsItsOwnPicture) {
  // Title: white lettering and grid, nothing green.
  int titleWhite = 0;
  for (float beat : {1.0f, 3.0f, 5.0f, 7.5f}) {
    const FrameStats title = frameAt(beat, beat - 0.5f);
    titleWhite += title.white;
    EXPECT_EQ(title.green, 0) << "beat " << beat;
  }
  EXPECT_GT(titleWhite, 2000);

  // Model with cuts: green lines only, black corners.
  int modelGreen = 0;
  for (float beat : {9.0f, 12.0f, 15.0f, 18.5f}) {
    const FrameStats model = frameAt(beat, beat - 0.5f);
    modelGreen += model.green;
    EXPECT_EQ(model.white, 0) << "beat " << beat;
    EXPECT_TRUE(model.cornersBlack) << "beat " << beat;
  }
  EXPECT_GT(modelGreen, 2000);

  // Footprint act: green where bar3 pulses; never white.
  int footprintGreen = 0;
  for (float beat = 20.0f; beat < 28.0f; beat += 1.0f) {
    const FrameStats footprint = frameAt(beat + 0.25f, beat);
    footprintGreen += footprint.green;
    EXPECT_EQ(footprint.white, 0);
  }
  EXPECT_GT(footprintGreen, 500);

  // Ground: the ruled square at the end, green on black.
  const FrameStats ground = frameAt(31.9f, 31.0f);
  EXPECT_GT(ground.green, 200);
  EXPECT_EQ(ground.white, 0);
  EXPECT_TRUE(ground.cornersBlack);
}

TEST_F(OpeningSceneHeadless, EndsAtThirtyTwoBeatsAndCapturesAtTwentySeven) {
  scene->captured = false;
  EXPECT_EQ(scene->render(scene->secondsAtBeat(26.9f)), 0);
  EXPECT_FALSE(scene->captured);
  EXPECT_EQ(scene->render(scene->secondsAtBeat(27.05f)), 0);
  EXPECT_TRUE(scene->captured);
  EXPECT_EQ(scene->render(scene->duration - 0.001f), 0);
  EXPECT_NE(scene->render(scene->duration), 0);
}

TEST_F(OpeningSceneHeadless, TheTitleGivesWayToTheModelAtBeatEight) {
  const FrameStats before = frameAt(7.95f, 7.5f);
  const FrameStats at = frameAt(8.0f, 8.0f);
  EXPECT_GT(before.white, 0);
  EXPECT_EQ(at.white, 0);
}
