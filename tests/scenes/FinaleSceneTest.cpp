// Scene 7 played headless from the archive: the lit tentacle ball with the
// line models on end.swf's cues, the gallery's cues from tentacle.swf and
// its framed panels, a capture drawn on its panel, and black after the
// accelerated clock runs out.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gfx/GlExtensions.h"
#include "gfx/Random.h"
#include "gfx/ScreenTexture.h"
#include "scenes/effects/LatticeMesh.h"
#include "scenes/finale/FinaleClock.h"
#include "scenes/finale/FinaleScene.h"
#include "show/ResourceRegistry.h"
#include "swf/swfScript.h"
#include "support/HeadlessScene.h"

namespace {

struct Light {
  long lit = 0;    // pixels brighter than 40 on any channel
  long green = 0;  // green well above red and blue
};

Light lightOf(const std::vector<unsigned char>& rgb) {
  Light light;
  for (size_t i = 0; i < rgb.size(); i += 3) {
    const int r = rgb[i], g = rgb[i + 1], b = rgb[i + 2];
    if (std::max({r, g, b}) > 40) ++light.lit;
    if (g > 60 && g > r + 30 && g > b + 30) ++light.green;
  }
  return light;
}

class FinaleHeadless : public testsupport::HeadlessScene<FinaleScene> {
 public:
  static void SetUpTestSuite() {
    open(testsupport::Content::Archive, [](ResourceRegistry&) { zolt::seedRandom(1); });
  }

 protected:
  static std::vector<unsigned char> frameAt(float beat) { return playOn(beat, 10.0f); }
};

// Runs in order: each test plays on from where the last one stopped.
TEST_F(FinaleHeadless, BuildsFromTheShowsContent) {
  EXPECT_NEAR(scene->duration, 60.923f, 0.001f);
  ASSERT_NE(scene->modelA, nullptr);
  EXPECT_GT(scene->modelA->faceCount, 0) << "t-rov.3ds holds Text01";
  EXPECT_GT(scene->modelB->faceCount, 0) << "qz5.3ds holds Text01";
  EXPECT_TRUE(scene->panelMovie->loaded());
  EXPECT_TRUE(scene->cueMovie->loaded());
  for (int k = 0; k < 9; ++k) EXPECT_NE(scene->panelTextures[k], 0u) << k;
  EXPECT_EQ(scene->panelTextures[0], scene->captures[0]->name);
}

TEST_F(FinaleHeadless, TentaclePartShowsTheLitBallAndTheModelsOnTheirCues) {
  // end.swf's first layer flashes on the first beat of its loop.
  auto rgb = frameAt(6.1f);
  EXPECT_GT(scene->channelA[3], 0.0f) << "t-rov's cue";
  const Light withModel = lightOf(rgb);
  EXPECT_GT(withModel.green, 300) << "the tentacles' green lines";
  EXPECT_GT(withModel.lit, 2000);
  int cueB = 0;
  for (float b = 6.2f; b < 12.0f; b += 0.125f) {
    frameAt(b);
    cueB += scene->channelB[3] > 0.0f;
  }
  EXPECT_GT(cueB, 0) << "qz5's cue within one loop of end.swf";
}

TEST_F(FinaleHeadless, TheMovieCuesThePanelsAndTheSameViewKeepsThePreviousOne) {
  frameAt(32.5f);
  EXPECT_EQ(scene->views.currentView, "Camera0");
  frameAt(41.0f);
  EXPECT_EQ(scene->views.currentView, "cap0");
  EXPECT_EQ(scene->views.previousView, "Camera0");
  // A cue naming the view shown restarts the flight, keeps the previous view.
  scene->onSetCamera({"setCamera", "cap0"});
  EXPECT_EQ(scene->views.previousView, "Camera0");
  EXPECT_TRUE(scene->views.transitionStarting());
  scene->onSetCamera({"setCamera"});  // no name: ignored
  EXPECT_EQ(scene->views.currentView, "cap0");
}

TEST_F(FinaleHeadless, ACapturePanelShowsTheCapturedFrameInAGreenFrame) {
  // Fill Capture0 with plain blue, then play on until the panel stands still.
  glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  scene->captures[0]->copy(0, 0, 0, 0, -1, -1);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  const auto rgb = frameAt(46.0f);
  ASSERT_EQ(scene->views.currentView, "cap0");
  ASSERT_EQ(scene->views.transition, 0.0f);
  // The panel sits in front of the camera: blue in the middle, not at the corners.
  const unsigned char* middle = &rgb[(240 * 640 + 320) * 3];
  EXPECT_GT(middle[2], 150);
  EXPECT_LT(middle[0], 60);
  const unsigned char* corner = &rgb[(4 * 640 + 4) * 3];
  EXPECT_LT(corner[2], 60);
  EXPECT_GT(lightOf(rgb).green, 300) << "the panel's outline";
}

TEST_F(FinaleHeadless, ATentacleViewIsRenderedOntoItsPanel) {
  const auto rgb = frameAt(50.0f);  // "inside" since gallery beat 16
  ASSERT_EQ(scene->views.currentView, "inside");
  EXPECT_GT(lightOf(rgb).green, 1000);
}

TEST_F(FinaleHeadless, BlackAfterTheAcceleratedClockRunsOut) {
  frameAt(123.0f);
  EXPECT_TRUE(scene->endReached);
  EXPECT_EQ(scene->views.currentView, "cap8");
  const auto rgb = frameAt(124.0f);
  EXPECT_EQ(lightOf(rgb).lit, 0);
  EXPECT_EQ(scene->render(scene->secondsAtBeat(131.9f)), 0);
  EXPECT_EQ(scene->render(scene->secondsAtBeat(132.0f)), 1);
}

}  // namespace
