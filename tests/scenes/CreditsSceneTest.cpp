// Scene 5 from the show's archive: the block clock that moves the blocks by
// the pulse, the normal path up to beat 56 and the ending after it, and the
// swarm's landscape handed to the blocks while the show loads.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "gfx/Random.h"
#include "scenes/ShowOrder.h"
#include "scenes/credits/CreditsScene.h"
#include "scenes/effects/NameBlocks.h"
#include "scenes/effects/Terrain.h"
#include "scenes/swarm/BugSwarmScene.h"
#include "show/ResourceRegistry.h"
#include "support/GlTestContext.h"

namespace {

ResourceRegistry* packRegistry() {
  auto* registry = new ResourceRegistry();
  registry->usePack = true;
  registry->packName = std::string(ZOLT_OUTPUT_DIR) + "/trov.qz5";
  registry->good = 1;
  return registry;
}

class CreditsSceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testsupport::ensureGlContext()) GTEST_SKIP() << "no OpenGL context";
    registry.reset(packRegistry());
    probeRegistry.reset(packRegistry());
    zolt::seedRandom(1);
    scene = std::make_unique<CreditsScene>(registry.get());
    scene->startTime = scene->secondsAtBeat(160.0f);  // where the show plays it
    probe = std::make_unique<Scene>(probeRegistry.get());
    probe->startTime = scene->startTime;
  }

  // One frame of the block clock to t1, and the blocks as they should stand
  // after it: moved by each of the four sub-steps' change of the clock, a
  // change of more than 2 moving nothing. The probe's own rhythm movies play
  // through the same times (they play forwards: values depend on history).
  std::vector<NameBlock> stepAndExpect(float t1) {
    std::vector<NameBlock> blocks = scene->blocks->blocks;
    const float t0 = scene->lastTime;
    for (int i = 1; i <= 4; ++i) {
      probe->updateRhythm(t0 + float(i) * (t1 - t0) * 0.25f + probe->startTime, 1);
      const float level = std::floor(t1 * 0.25f) * 4.0f + probe->rhythmLevel * 4.0f;
      const float d = std::fabs(level - probeLevel) > 2.0f ? 0.0f : level - probeLevel;
      for (NameBlock& block : blocks) block.advance(d, 1.0f);
      probeLevel = level;
    }
    EXPECT_FLOAT_EQ(scene->stepBlockClock(t1), probeLevel) << "t " << t1;
    for (size_t i = 0; i < blocks.size(); ++i)
      EXPECT_NEAR(scene->blocks->blocks[i].height, blocks[i].height, 1e-3f) << "t " << t1 << " block " << i;
    return blocks;
  }

  std::unique_ptr<ResourceRegistry> registry, probeRegistry;
  std::unique_ptr<CreditsScene> scene;
  std::unique_ptr<Scene> probe;
  float probeLevel = 0.0f;
};

TEST_F(CreditsSceneTest, TheBlockClockMovesByThePulseInFourStepsNotByItsJumpEveryFourSeconds) {
  for (float t = 0.1f; t < 3.95f; t += 0.1f) stepAndExpect(t);
  scene->turnOrbit(scene->rhythmLevel);
  const float orbitBefore = scene->orbitAngle, levelBefore = scene->rhythmLevel;
  const std::vector<NameBlock> before = scene->blocks->blocks;
  stepAndExpect(4.1f);  // across the jump of the clock at 4 s
  EXPECT_GT(scene->rhythmLevel - levelBefore, 2.0f);
  int moved = 0;
  for (size_t i = 0; i < before.size(); ++i)
    moved += std::fabs(scene->blocks->blocks[i].height - before[i].height) > 1e-3f;
  EXPECT_GT(moved, 0) << "the pulse within the frame still moves the blocks";
  scene->turnOrbit(scene->rhythmLevel);
  EXPECT_EQ(scene->orbitAngle, orbitBefore) << "the jump does not turn the orbit";
  // Ordinary frames, one of them backwards: the orbit turns by the change.
  for (float t1 : {4.2f, 4.5f, 5.2f, 4.9f, 5.0f}) {
    const float lastLevel = scene->lastLevel, orbit = scene->orbitAngle;
    stepAndExpect(t1);
    scene->turnOrbit(scene->rhythmLevel);
    const float d = scene->rhythmLevel - lastLevel;
    EXPECT_NEAR(scene->orbitAngle, orbit + (std::fabs(d) <= 1.0f ? d : 0.0f), 1e-5f) << "t " << t1;
  }
}

TEST_F(CreditsSceneTest, BeatFiftySixIsTheLastNormalFrameAndTheEndIsReportedOnTime) {
  const float b56 = scene->secondsAtBeat(56.0f);
  EXPECT_EQ(scene->render(scene->secondsAtBeat(57.0f)), 0);
  EXPECT_FALSE(scene->captured) << "the ending takes no capture";
  EXPECT_EQ(scene->lastTime, 0.0f) << "and leaves the block clock alone";
  EXPECT_EQ(scene->render(b56), 0);
  EXPECT_EQ(scene->lastTime, b56) << "beat 56 runs the normal path";
  EXPECT_TRUE(scene->captured);
  EXPECT_TRUE(scene->resetDone);
  EXPECT_EQ(scene->render(b56 + 1e-3f), 0);
  EXPECT_EQ(scene->lastTime, b56) << "just past beat 56 the ending runs";
  EXPECT_EQ(scene->render(scene->duration - 0.01f), 0);
  EXPECT_EQ(scene->render(scene->duration), 1);
}

TEST(CreditsLink, TheShowHandsTheSwarmsLandscapeToTheBlocksWhenBothAreThere) {
  if (!testsupport::ensureGlContext()) GTEST_SKIP() << "no OpenGL context";
  for (SceneFactory swarmFactory : {showOrder.slot[6], SceneFactory(nullptr)}) {
    ShowOrder order{};  // only the first loading step's two scenes
    order.slot[5] = showOrder.slot[5];
    order.slot[6] = swarmFactory;
    order.link = showOrder.link;
    Demo demo(packRegistry(), order);
    demo.loadNext();
    auto* credits = dynamic_cast<CreditsScene*>(demo.bySlot[5]);
    auto* swarm = dynamic_cast<BugSwarmScene*>(demo.bySlot[6]);
    ASSERT_NE(credits, nullptr);
    ASSERT_EQ(swarm != nullptr, swarmFactory != nullptr);
    EXPECT_EQ(credits->blocks->targetGrid, swarm ? swarm->terrain : nullptr);
    if (!swarm) continue;
    // At the end of the melt the grid lies on the landscape's points.
    credits->blocks->morph(1.0f);
    EXPECT_NEAR(credits->blocks->gridPoints[size_t(70 * NameBlocks::gridColumns + 10)].y,
                swarm->terrain->point(10, 70).y, 1e-4f);
  }
  linkCreditsToSwarm(nullptr, nullptr);
}

}  // namespace
