// Scene 4 played headless as the recorder plays it: one name card per
// frame, four beats each; green rings in the view and the dark-on-white
// inset in the upper right.
#include <gtest/gtest.h>

#include "scenes/greetings/GreetingsScene.h"
#include "scenes/greetings/NameCard.h"
#include "show/ResourceRegistry.h"
#include "support/GlTestContext.h"
#include "tools/sceneplayer/ScenePlayer.h"

namespace {

TEST(GreetingsScene, OneCardAFrameAndTheInsetInTheUpperRight) {
  ScenePlayer player;
  ASSERT_TRUE(player.open(4, 640, 480)) << player.error;
  ASSERT_NEAR(player.lengthInBeats(), 32.0f, 1e-3f);

  int frames = 0;
  int framesWithGreen = 0;
  int insetFrames = 0;
  player.play(30.0f, 32.0f, [&](const PlayedFrame& frame) {
    ++frames;
    const RgbImage image = player.readFrame();
    int green = 0;
    for (int y = 200; y < 480; y += 2) {
      for (int x = 0; x < 420; x += 2) {
        const unsigned char* p = image.at(x, y);
        if (p[1] > 100 && p[0] < p[1] / 2) ++green;
      }
    }
    framesWithGreen += green > 20;
    // The inset: a white-backed picture inside 430..630 x 10..160 (y down),
    // black outside it at the very corner.
    long inside = 0;
    for (int y = 20; y < 150; y += 4) {
      for (int x = 440; x < 620; x += 4) inside += image.at(x, y)[0];
    }
    const double insideMean = double(inside) / ((130 / 4 + 1) * (180 / 4));
    insetFrames += insideMean > 80.0;
    return true;
  });
  EXPECT_GE(frames, 440);
  EXPECT_GT(framesWithGreen, frames / 2) << "green rings in most frames";
  EXPECT_EQ(insetFrames, frames) << "the inset is drawn in every frame";
}

TEST(GreetingsScene, ExactlyOneCardPerPhaseDrawnWithTheLevelOfItsLastCall) {
  ASSERT_TRUE(testsupport::ensureGlContext());
  ResourceRegistry registry;
  registry.usePack = true;
  GreetingsScene scene(&registry);
  for (float b = 0.0f; b < 32.0f; b += 0.05f) {
    scene.cardPhase = b / 4.0f;
    EXPECT_EQ(scene.drawCurrentCard(0.5f, false), int(b / 4.0f)) << "beat " << b;
  }
  scene.cardPhase = 7.9999f;  // just before the end
  EXPECT_EQ(scene.drawCurrentCard(0.25f, false), 7);
  scene.cardPhase = 8.0f;
  EXPECT_EQ(scene.drawCurrentCard(0.25f, false), -1) << "past the last card nothing is drawn";
  EXPECT_EQ(scene.cards[7]->level, 0.25f);
  EXPECT_EQ(scene.cards[0]->level, 0.5f);
  GreetingsScene fresh(&registry);
  EXPECT_EQ(fresh.cards[3]->level, 0.0f) << "a card's first draw is at level 0";
}

}  // namespace
