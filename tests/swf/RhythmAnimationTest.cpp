// The rhythm animations as the registry makes them from the show's own
// movies: what "Rhythm0" brings with it, which animation the shared values
// follow, the loop position, and the "white" command.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "show/Scene.h"
#include "show/ResourceRegistry.h"
#include "swf/RhythmAnimation.h"
#include "swf/swfScript.h"
#include "support/GlTestContext.h"

namespace {

class RhythmAnimations : public ::testing::Test {
 protected:
  void SetUp() override { registry.rootPath = ZOLT_CONTENT_DIR "/"; }

  void values(float out[10]) {
    std::memcpy(out, registry.get("verts"), 8 * sizeof(float));
    std::memcpy(out + 8, registry.get("interp"), 2 * sizeof(float));
  }

  ResourceRegistry registry;
};

}  // namespace

TEST_F(RhythmAnimations, OnlyRhythm0MakesThemAll) {
  EXPECT_EQ(registry.get("Rhythm1"), nullptr);
  EXPECT_EQ(registry.get("verts"), nullptr);
  void* first = registry.get("Rhythm0");
  ASSERT_NE(first, nullptr);
  for (const char* name : {"Rhythm1", "Rhythm2", "Rhythm3", "white", "interp", "verts"}) {
    EXPECT_NE(registry.get(name), nullptr) << name;
  }
  EXPECT_NE(registry.get("Rhythm1"), first);
  EXPECT_EQ(registry.get("Rhythm0"), first);
  auto* animation = static_cast<swfScript*>(first);
  EXPECT_TRUE(animation->loaded());
  EXPECT_TRUE(animation->loop);
  ASSERT_EQ(animation->requests.size(), 2u);
  EXPECT_EQ(animation->requests[0].kind, int(kRequestPosition));
  EXPECT_EQ(animation->requests[1].kind, int(kRequestCorners));
  EXPECT_EQ(animation->requests[0].out, registry.get("interp"));
}

TEST_F(RhythmAnimations, SharedValuesFollowTheAnimationUpdatedLast) {
  registry.get("Rhythm0");
  auto* rhythm0 = static_cast<RhythmAnimation*>(registry.get("Rhythm0"));
  auto* rhythm2 = static_cast<RhythmAnimation*>(registry.get("Rhythm2"));
  float alone[10], afterBoth[10];
  updateRhythmAnimation(rhythm0, 40.5f);
  values(alone);
  updateRhythmAnimation(rhythm2, 40.5f);
  float other[10];
  values(other);
  updateRhythmAnimation(rhythm0, 40.5f);
  values(afterBoth);
  for (int i = 0; i < 10; ++i) EXPECT_FLOAT_EQ(afterBoth[i], alone[i]) << i;
  bool differs = false;
  for (int i = 0; i < 10; ++i) differs = differs || other[i] != alone[i];
  EXPECT_TRUE(differs) << "rhythm2 should move differently from rhythm0";
}

TEST_F(RhythmAnimations, SceneLevelLoopsEveryEightBeats) {
  // A scene borrows the shared render targets, which need a context.
  if (!testsupport::ensureGlContext()) GTEST_SKIP() << "no OpenGL context";
  Scene scene(&registry);
  ASSERT_NE(scene.rhythm[0], nullptr);
  ASSERT_NE(scene.verts, nullptr);
  scene.updateRhythm(scene.secondsAtBeat(1.25f), 0);
  const float level = scene.rhythmLevel;
  EXPECT_FLOAT_EQ(level, (scene.verts[0] + scene.interp[0] + 0.5f) / 640.0f);
  // Wrapping restarts the movie at frame 0; the next call catches up.
  scene.updateRhythm(scene.secondsAtBeat(9.25f), 0);
  scene.updateRhythm(scene.secondsAtBeat(9.25f), 0);
  EXPECT_NEAR(scene.rhythmLevel, level, 1e-4f);
  // Over one loop the level rises from about 0 towards 1.
  float lowest = 10.0f, highest = -10.0f;
  for (float beat = 0.0f; beat < 8.0f; beat += 0.125f) {
    scene.updateRhythm(scene.secondsAtBeat(beat), 0);
    lowest = std::min(lowest, scene.rhythmLevel);
    highest = std::max(highest, scene.rhythmLevel);
  }
  EXPECT_LT(lowest, 0.2f);
  EXPECT_GT(highest, 0.6f);
}

TEST_F(RhythmAnimations, MoviesRaiseAndClearTheWhiteFlag) {
  auto* rhythm0 = static_cast<RhythmAnimation*>(registry.get("Rhythm0"));
  int* white = static_cast<int*>(registry.get("white"));
  bool raised = false, clearedAfter = false;
  for (int frame = 0; frame < 128; ++frame) {
    updateRhythmAnimation(rhythm0, float(frame));
    if (*white == 1) raised = true;
    if (raised && *white == 0) clearedAfter = true;
  }
  EXPECT_TRUE(raised);
  EXPECT_TRUE(clearedAfter);
}

TEST(WhiteCommand, TakesTheDecimalValueOfItsArgument) {
  int flag = 7;
  EXPECT_EQ(whiteCommand(&flag, {"white", "1"}), 0);
  EXPECT_EQ(flag, 1);
  whiteCommand(&flag, {"white", "0"});
  EXPECT_EQ(flag, 0);
  flag = 7;
  whiteCommand(&flag, {"white"});
  EXPECT_EQ(flag, 0);
  flag = 7;
  whiteCommand(&flag, {"white", "on"});
  EXPECT_EQ(flag, 0);
  whiteCommand(&flag, {"white", " 12x"});
  EXPECT_EQ(flag, 12);
  EXPECT_EQ(whiteCommand(nullptr, {"white", "1"}), 0);
}
