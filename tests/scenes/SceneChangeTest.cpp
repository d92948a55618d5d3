// The show itself, headless on the capture clock at six frames a second,
// across the change from the opening to the plane at beat 32: the green
// ground of scene 0 until then, the plane's grid and grey trails after,
// each frame through the screen mask as a recording has it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "gfx/GlExtensions.h"
#include "scenes/ShowOrder.h"
#include "show/Demo.h"
#include "show/ResourceRegistry.h"
#include "show/Scene.h"
#include "support/GlTestContext.h"

namespace {

struct Counts {
  int green = 0;  // green well above red and blue
  int grey = 0;   // lit, all three channels alike: the trails
  int lit = 0;    // any channel well lit
};

Counts countFrame() {
  std::vector<unsigned char> rgb(640 * 480 * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  Counts counts;
  for (size_t i = 0; i < rgb.size(); i += 3) {
    const int r = rgb[i], g = rgb[i + 1], b = rgb[i + 2];
    if (g > 40 && g > r + 30 && g > b + 30) ++counts.green;
    if (r > 60 && std::abs(r - g) < 10 && std::abs(g - b) < 10) ++counts.grey;
    if (std::max(r, std::max(g, b)) > 60) ++counts.lit;
  }
  return counts;
}

// The whole show built from the archive as the recorder builds it, at 640x480.
std::unique_ptr<Demo> loadedShow() {
  glViewport(0, 0, 640, 480);
  auto* registry = new ResourceRegistry();
  registry->usePack = true;
  registry->good = 1;
  auto demo = std::make_unique<Demo>(registry, showOrder);
  while (!demo->loadingDone()) demo->loadNext();
  return demo;
}

// Plays two beats either side of the change into `slot` at six frames a
// second: the frame that reaches the change is still the old scene's, the
// new one draws from the next; every frame but the old scene's last is lit
// (`lit` picks the count that says so) by more than 300 pixels.
void expectHandOver(Demo& demo, int slot, int Counts::*lit) {
  const float beat = 60.0f / 130.0f;
  const float change = demo.scenes[slot]->startTime;
  for (float t = change - 3.0f * beat; demo.current < slot - 1; t += 1.0f / 6.0f) demo.render(t);
  int before = 0, after = 0;
  for (int frame = 0; frame < 24; ++frame) {
    const float t = change - 2.0f * beat + float(frame) / 6.0f;
    const int sceneDrawn = demo.current;
    ASSERT_EQ(demo.render(t), 0);
    EXPECT_EQ(sceneDrawn, t < change + 1.0f / 6.0f ? slot - 1 : slot) << "t " << t;
    EXPECT_EQ(demo.current, t < change ? slot - 1 : slot) << "t " << t;
    (sceneDrawn == slot ? after : before) += 1;
    if (sceneDrawn == slot || t < change) {
      EXPECT_GT(countFrame().*lit, 300) << "slot " << slot << " t " << t;
    }
  }
  EXPECT_EQ(before, 7) << "slot " << slot;
  EXPECT_EQ(after, 17) << "slot " << slot;
}

}  // namespace

TEST(SceneChange, TheOpeningHandsOverToThePlaneAtBeatThirtyTwo) {
  ASSERT_TRUE(testsupport::ensureGlContext());
  const std::unique_ptr<Demo> show = loadedShow();
  Demo& demo = *show;
  ASSERT_NE(demo.scenes[1], nullptr);
  const float change = demo.scenes[1]->startTime;
  EXPECT_NEAR(change, 32.0f * 60.0f / 130.0f, 1e-3f);

  demo.useCaptureClock();
  demo.timeOffset = 0.0f;
  int openingFrames = 0, planeFrames = 0;
  for (int frame = 0; frame < 24; ++frame) {
    const float t = 13.85f + float(frame) / 6.0f;  // beats 30 to 34
    const int sceneDrawn = demo.current;
    ASSERT_EQ(demo.render(t), 0);
    const Counts counts = countFrame();
    // The frame that reaches the change is still the opening's (past its
    // end); the plane takes over from the next.
    EXPECT_EQ(sceneDrawn, t < change + 1.0f / 6.0f ? 0 : 1) << "t " << t;
    EXPECT_EQ(demo.current, t < change ? 0 : 1) << "t " << t;
    if (sceneDrawn == 0) {
      ++openingFrames;
      // The ground under its fog; the frame past the scene's end may be bare.
      if (t < change) {
        EXPECT_GT(counts.green, 200) << "t " << t;
      }
      EXPECT_EQ(counts.grey, 0) << "t " << t;
    } else {
      ++planeFrames;
      EXPECT_GT(counts.green, 3000) << "t " << t;
      EXPECT_GT(counts.grey, 50) << "t " << t;
    }
  }
  EXPECT_EQ(openingFrames, 7);
  EXPECT_EQ(planeFrames, 17);
}

// The same capture across the next two changes: the plane hands over to
// the line cube at beat 64 and the line cube to the tunnel at beat 96.
// Each frame past a change is drawn by the new scene, and each is lit with
// its green lines (the cube's trails, the tunnel's smeared wall).
TEST(SceneChange, ThePlaneHandsOverToTheLineCubeAndTheLineCubeToTheTunnel) {
  ASSERT_TRUE(testsupport::ensureGlContext());
  const std::unique_ptr<Demo> show = loadedShow();
  Demo& demo = *show;
  ASSERT_NE(demo.scenes[2], nullptr);
  ASSERT_NE(demo.scenes[3], nullptr);
  const float beat = 60.0f / 130.0f;
  EXPECT_NEAR(demo.scenes[2]->startTime, 64.0f * beat, 1e-3f);
  EXPECT_NEAR(demo.scenes[3]->startTime, 96.0f * beat, 1e-3f);
  EXPECT_NEAR(demo.scenes[3]->startTime + demo.scenes[3]->duration, 128.0f * beat, 1e-3f) << "59.1 s";

  demo.useCaptureClock();
  demo.timeOffset = 0.0f;
  // Step through the earlier scenes: the show moves on one scene a frame.
  for (float t = 29.0f; demo.current < 1; t += 1.0f / 6.0f) demo.render(t);
  for (int slot : {2, 3}) expectHandOver(demo, slot, &Counts::green);
}

TEST(SceneChange, TheTunnelHandsOverToTheGreetingsAtBeatOneHundredTwentyEight) {
  ASSERT_TRUE(testsupport::ensureGlContext());
  const std::unique_ptr<Demo> show = loadedShow();
  Demo& demo = *show;
  ASSERT_NE(demo.scenes[4], nullptr);
  const float beat = 60.0f / 130.0f;
  const float change = demo.scenes[4]->startTime;
  EXPECT_NEAR(change, 128.0f * beat, 1e-3f);

  demo.useCaptureClock();
  demo.timeOffset = 0.0f;
  for (float t = change - 3.0f * beat; demo.current < 3; t += 1.0f / 6.0f) demo.render(t);
  int before = 0, after = 0;
  for (int frame = 0; frame < 24; ++frame) {
    const float t = change - 2.0f * beat + float(frame) / 6.0f;
    const int sceneDrawn = demo.current;
    ASSERT_EQ(demo.render(t), 0);
    EXPECT_EQ(demo.current, t < change ? 3 : 4) << "t " << t;
    (sceneDrawn == 4 ? after : before) += 1;
    // The greetings' inset: the upper right, white-backed under the mask.
    std::vector<unsigned char> rgb(40 * 40 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(510, 360, 40, 40, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    long red = 0;
    for (size_t i = 0; i < rgb.size(); i += 3) red += rgb[i];
    if (sceneDrawn == 4) {
      EXPECT_GT(red / 1600, 60) << "t " << t;
      EXPECT_GT(countFrame().green, 300) << "t " << t;
    }
  }
  EXPECT_EQ(before, 7);
  EXPECT_EQ(after, 17);
}

// The greetings hand over to the credits at beat 160 and the credits, after
// their melt into the landscape, to the swarm at beat 224: green lines
// around the first change; around the second only light, as the melt's last
// lines turn white and the swarm's first frame shows its white landscape
// before the creatures.
TEST(SceneChange, TheGreetingsHandOverToTheCreditsAndTheCreditsToTheSwarm) {
  ASSERT_TRUE(testsupport::ensureGlContext());
  const std::unique_ptr<Demo> show = loadedShow();
  Demo& demo = *show;
  ASSERT_NE(demo.scenes[5], nullptr);
  ASSERT_NE(demo.scenes[6], nullptr);
  const float beat = 60.0f / 130.0f;
  EXPECT_NEAR(demo.scenes[5]->startTime, 160.0f * beat, 1e-3f);
  EXPECT_NEAR(demo.scenes[6]->startTime, 224.0f * beat, 1e-3f);
  demo.useCaptureClock();
  demo.timeOffset = 0.0f;
  expectHandOver(demo, 5, &Counts::green);
  expectHandOver(demo, 6, &Counts::lit);
}
