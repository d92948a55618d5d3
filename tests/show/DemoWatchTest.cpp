// Watching the show: jumps by beats land on the right scene and beat on
// both clocks, enter scenes as a skip does and move the music with them;
// a pause holds the show clock and the music.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Clock.h"
#include "show/Demo.h"
#include "show/MusicStream.h"
#include "show/ResourceRegistry.h"
#include "support/GlTestContext.h"
#include "support/MessageLog.h"
#include "support/StandInScenes.h"

namespace {

using testsupport::StandInScene;

// 4 beats at 130 beats per minute.
constexpr double kFourBeats = 4.0 * 60.0 / 130.0;

StandInScene* slot(Demo& demo, int i) { return static_cast<StandInScene*>(demo.scenes[i]); }

double startOf(int i) {
  double sum = 0.0;
  for (int k = 0; k < i; ++k) sum += testsupport::standInDurations[k];
  return sum;
}

GLint attribDepth() {
  GLint depth = 0;
  glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &depth);
  return depth;
}

class DemoWatch : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testsupport::ensureGlContext());
    testsupport::MessageLog quiet;  // no demo.cfg: the missing soundtrack's box
    demo = new Demo(new ResourceRegistry(), testsupport::standInOrder());
    while (!demo->loadingDone()) demo->loadNext();
    demo->timeOffset = 0.0f;
  }
  void TearDown() override { delete demo; }
  Demo* demo = nullptr;
};

TEST_F(DemoWatch, CaptureClockJumpsLandOnTheSceneAndBeatBothWays) {
  demo->useCaptureClock();
  demo->render(0.5f);
  // Forward into scene 1 (starts at 1.5 s).
  ASSERT_TRUE(demo->jumpBeats(4.0f));
  EXPECT_EQ(demo->current, 1);
  EXPECT_NEAR(demo->showTime(), 0.5 + kFourBeats, 1e-4);
  EXPECT_NEAR(demo->currentBeat(), (0.5 + kFourBeats - startOf(1)) * 130.0 / 60.0, 1e-3);
  // The next frame 0.1 s on: the scene's local time follows the jump.
  demo->render(0.6f);
  ASSERT_FALSE(slot(*demo, 1)->times.empty());
  EXPECT_NEAR(slot(*demo, 1)->times.back(), 0.6 + kFourBeats - startOf(1), 1e-4);

  // Forward across the short scene 2 into scene 3.
  ASSERT_TRUE(demo->jumpBeats(4.0f));
  EXPECT_EQ(demo->current, 3);
  demo->render(0.6f);
  EXPECT_NEAR(slot(*demo, 3)->times.back(), 0.6 + 2 * kFourBeats - startOf(3), 1e-4);

  // Back twice: scene 1, then scene 0 again, which plays on from there.
  ASSERT_TRUE(demo->jumpBeats(-4.0f));
  EXPECT_EQ(demo->current, 1);
  ASSERT_TRUE(demo->jumpBeats(-4.0f));
  EXPECT_EQ(demo->current, 0);
  const size_t framesBefore = slot(*demo, 0)->times.size();
  demo->render(0.7f);
  ASSERT_EQ(slot(*demo, 0)->times.size(), framesBefore + 1);
  EXPECT_NEAR(slot(*demo, 0)->times.back(), 0.7, 1e-4);

  // Before the start the show is held at its start.
  ASSERT_TRUE(demo->jumpBeats(-4.0f));
  EXPECT_EQ(demo->current, 0);
  EXPECT_NEAR(demo->showTime(), 0.0, 1e-5);
}

TEST_F(DemoWatch, JumpPastTheEndMovesNothing) {
  demo->useCaptureClock();
  demo->render(0.0f);
  const double end = demo->accumulatedStart;
  ASSERT_TRUE(demo->seekShow(end - 0.5));
  EXPECT_EQ(demo->current, 7);
  EXPECT_FALSE(demo->jumpBeats(4.0f));
  EXPECT_EQ(demo->current, 7);
  EXPECT_NEAR(demo->showTime(), end - 0.5, 1e-4);
  EXPECT_FALSE(demo->seekShow(-0.1));
}

TEST_F(DemoWatch, LiveClockJumpSetsTheLocalTimeOfTheSceneItEnters) {
  demo->timeOffset = -0.04f;
  demo->render(0.0f);
  const double before = demo->showTime();
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(demo->jumpBeats(4.0f));
  const double landed = demo->showTime();
  // Three jumps from near 0 s: about 5.54 s, in scene 3 (3.85 to 6.85 s).
  EXPECT_GE(landed, before + 3 * kFourBeats - 1e-4);
  EXPECT_LT(landed, before + 3 * kFourBeats + 0.5);
  EXPECT_EQ(demo->current, 3);
  // The frame's local time lies between the show times read around it.
  const double from = demo->showTime();
  demo->render(0.0f);
  const double to = demo->showTime();
  ASSERT_FALSE(slot(*demo, 3)->times.empty());
  const double local = slot(*demo, 3)->times.back();
  EXPECT_GE(local, from - startOf(3) - 0.04 - 1e-4);
  EXPECT_LE(local, to - startOf(3) - 0.04 + 1e-4);
  // The skipped scene 2 was never drawn.
  EXPECT_TRUE(slot(*demo, 2)->times.empty());
}

TEST_F(DemoWatch, SceneChangesByJumpKeepTheAttributeStackBalanced) {
  demo->useCaptureClock();
  const GLint base = attribDepth();
  demo->render(0.0f);
  EXPECT_EQ(attribDepth(), base + 1);
  for (int i = 0; i < 6; ++i) {
    demo->jumpBeats(i < 3 ? 4.0f : -4.0f);
    demo->jumpBeats(0.1f);  // within the scene: nothing popped
    demo->render(0.0f);
    EXPECT_EQ(attribDepth(), base + 1) << i;
  }
  // A scene left by a jump before its first frame pushed nothing to pop.
  demo->jumpBeats(4.0f);
  demo->jumpBeats(4.0f);
  EXPECT_LE(attribDepth(), base + 1);
  EXPECT_GE(attribDepth(), base);
  demo->render(0.0f);
  EXPECT_EQ(attribDepth(), base + 1);
}

TEST_F(DemoWatch, PauseHoldsTheShowClockOnEveryFrameAndResumesFromThere) {
  demo->render(0.0f);
  platform::sleepMilliseconds(30);
  demo->setPaused(true);
  EXPECT_TRUE(demo->isPaused());
  const double held = demo->showTime();
  platform::sleepMilliseconds(120);
  demo->render(0.0f);
  demo->render(5.0f);  // the caller's time does not matter either
  const std::vector<float>& t = slot(*demo, 0)->times;
  ASSERT_GE(t.size(), 3u);
  EXPECT_EQ(t[t.size() - 1], t[t.size() - 2]);
  EXPECT_NEAR(t.back(), held, 1e-5);
  EXPECT_DOUBLE_EQ(demo->showTime(), held);

  // A jump while paused moves the held time and stays paused.
  ASSERT_TRUE(demo->jumpBeats(4.0f));
  EXPECT_TRUE(demo->isPaused());
  EXPECT_NEAR(demo->showTime(), held + kFourBeats, 1e-5);

  const uint64_t resumed = platform::performanceCounter();
  demo->setPaused(false);
  demo->render(0.0f);
  const double since = double(platform::performanceCounter() - resumed) / platform::performanceFrequency();
  const double local = slot(*demo, 1)->times.back();
  EXPECT_GE(local, held + kFourBeats - startOf(1) - 1e-4);
  EXPECT_LE(local, held + kFourBeats - startOf(1) + since + 1e-4) << "the 120 ms of pause must not count";
}

TEST_F(DemoWatch, SkipWhilePausedHoldsTheNextSceneAtItsStart) {
  demo->useCaptureClock();
  demo->render(0.2f);
  demo->setPaused(true);
  demo->key('a');
  demo->render(0.3f);  // scene 0 draws once more, then the skip
  EXPECT_EQ(demo->current, 1);
  EXPECT_NEAR(demo->showTime(), startOf(1), 1e-5);
  demo->render(0.4f);
  EXPECT_NEAR(slot(*demo, 1)->times.back(), 0.0, 1e-5);
  demo->setPaused(false);
  demo->render(0.5f);
  EXPECT_NEAR(slot(*demo, 1)->times.back(), 0.1, 1e-4);
}

// With the real soundtrack: the music follows a jump and holds in a pause.
TEST(DemoWatchMusic, MusicFollowsAJumpWithinAFrameAndHoldsWhilePaused) {
  ASSERT_TRUE(testsupport::ensureGlContext());
  const std::string folder = ::testing::TempDir();
  FILE* cfg = std::fopen((folder + "demo.cfg").c_str(), "wb");
  ASSERT_NE(cfg, nullptr);
  std::fprintf(cfg, "mp3 = \"%s/zolt.mp3\"\n", ZOLT_OUTPUT_DIR);
  std::fclose(cfg);
  auto* registry = new ResourceRegistry();
  registry->rootPath = folder;
  Demo demo(registry, testsupport::standInOrder());
  std::remove((folder + "demo.cfg").c_str());
  ASSERT_TRUE(demo.music->isOpen());
  while (!demo.loadingDone()) demo.loadNext();

  demo.render(0.0f);
  ASSERT_TRUE(demo.jumpBeats(4.0f));
  ASSERT_TRUE(demo.jumpBeats(4.0f));
  ASSERT_TRUE(demo.jumpBeats(4.0f));
  const double target = demo.showTime();
  EXPECT_GT(target, 3 * kFourBeats - 0.01);
  // Within one frame at 30 frames a second.
  EXPECT_NEAR(demo.music->positionMs(), target * 1000.0, 1000.0 / 30.0);

  demo.setPaused(true);
  const int pausedAt = demo.music->positionMs();
  EXPECT_NEAR(pausedAt, demo.showTime() * 1000.0, 1000.0 / 30.0);
  platform::sleepMilliseconds(200);
  EXPECT_EQ(demo.music->positionMs(), pausedAt);
  // Resumed, the music goes on from the held show time.
  demo.setPaused(false);
  EXPECT_NEAR(demo.music->positionMs(), demo.showTime() * 1000.0, 1000.0 / 30.0);
}

}  // namespace
