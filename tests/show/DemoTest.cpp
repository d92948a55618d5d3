#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "show/Demo.h"
#include "show/ResourceRegistry.h"
#include "support/GlTestContext.h"
#include "support/StandInScenes.h"

namespace {

using testsupport::StandInScene;

StandInScene* slot(Demo& demo, int i) { return static_cast<StandInScene*>(demo.scenes[i]); }

void loadAll(Demo& demo) {
  while (!demo.loadingDone()) demo.loadNext();
}

class DemoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testsupport::ensureGlContext());
    StandInScene::made.clear();
    StandInScene::destroyed.clear();
  }
};

TEST_F(DemoTest, LoaderReportsCountsAndFillsSlotsInShowOrder) {
  Demo demo(new ResourceRegistry(), testsupport::standInOrder());
  std::vector<int> counts;
  while (!demo.loadingDone()) counts.push_back(demo.loadNext());
  EXPECT_EQ(counts, (std::vector<int>{1, 2, 3, 4, 5, 7, 8}));
  EXPECT_EQ(demo.count, 8);
  EXPECT_EQ(demo.scenes[8], nullptr);
  // Credits and swarm are made before scene 0 and sit in slots 5 and 6.
  EXPECT_EQ(StandInScene::made, (std::vector<int>{5, 6, 0, 1, 2, 3, 4, 7}));
  for (int i = 0; i < 8; ++i) EXPECT_EQ(slot(demo, i)->slot, i);
  // Further steps add nothing and never go past the end.
  EXPECT_EQ(demo.loadNext(), 8);
  EXPECT_EQ(demo.count, 8);
}

TEST_F(DemoTest, StartTimesAccumulateInDoublePrecision) {
  Demo demo(new ResourceRegistry(), testsupport::standInOrder());
  loadAll(demo);
  double sum = 0.0;
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(demo.scenes[i]->startTime, static_cast<float>(sum)) << i;
    sum += testsupport::standInDurations[i];
  }
  EXPECT_DOUBLE_EQ(demo.accumulatedStart, sum);
}

TEST_F(DemoTest, MissingScenesAreSkippedAndLoadingStillEnds) {
  ShowOrder order = testsupport::standInOrder();
  order.slot[1] = nullptr;
  order.slot[6] = nullptr;
  Demo demo(new ResourceRegistry(), order);
  int steps = 0;
  while (!demo.loadingDone() && steps < 100) {
    demo.loadNext();
    ++steps;
  }
  EXPECT_EQ(steps, Demo::loadingSteps);
  EXPECT_EQ(demo.count, 6);
  EXPECT_EQ(slot(demo, 1)->slot, 2);
  EXPECT_EQ(demo.scenes[1]->startTime, testsupport::standInDurations[0]);
}

TEST_F(DemoTest, JumpSelectsSceneBeforeTheFirstFrameAndIgnoresBadIndices) {
  Demo demo(new ResourceRegistry(), testsupport::standInOrder());
  loadAll(demo);
  demo.jumpTo(8);
  EXPECT_EQ(demo.current, 0);
  demo.jumpTo(-1);
  EXPECT_EQ(demo.current, 0);
  demo.jumpTo(3);
  EXPECT_EQ(demo.current, 3);
  // Live clock: scene 3 starts close to the time offset on the first frame.
  demo.timeOffset = -0.04f;
  demo.render(0.0f);
  ASSERT_EQ(slot(demo, 3)->times.size(), 1u);
  EXPECT_NEAR(slot(demo, 3)->times[0], -0.04f, 0.02f);
}

TEST_F(DemoTest, CaptureClockGivesLocalTimeFromTheCallersClock) {
  Demo demo(new ResourceRegistry(), testsupport::standInOrder());
  loadAll(demo);
  demo.useCaptureClock();
  demo.timeOffset = 0.0f;
  EXPECT_FALSE(demo.musicPending);
  EXPECT_EQ(demo.render(1.0f), 0);
  EXPECT_FLOAT_EQ(slot(demo, 0)->times.back(), 1.0f);
  // Scene 0 reports it is done; the next frame goes to scene 1 at its own
  // local time.
  EXPECT_EQ(demo.render(1.5f), 0);
  EXPECT_EQ(demo.current, 1);
  EXPECT_EQ(demo.render(2.0f), 0);
  EXPECT_FLOAT_EQ(slot(demo, 1)->times.back(), 2.0f - demo.scenes[1]->startTime);
}

TEST_F(DemoTest, JumpWithTheCaptureClockStartsTheSceneAtItsBeginning) {
  Demo demo(new ResourceRegistry(), testsupport::standInOrder());
  loadAll(demo);
  demo.useCaptureClock();
  demo.timeOffset = -0.04f;
  demo.jumpTo(6);
  demo.render(0.0f);
  demo.render(0.5f);
  ASSERT_EQ(slot(demo, 6)->times.size(), 2u);
  EXPECT_NEAR(slot(demo, 6)->times[0], -0.04f, 1e-4f);
  EXPECT_NEAR(slot(demo, 6)->times[1], 0.46f, 1e-4f);
  // The scene after it follows on the same timeline.
  const float end = demo.scenes[6]->duration;
  demo.render(end + 0.04f);
  demo.render(end + 0.54f);
  EXPECT_EQ(demo.current, 7);
  EXPECT_NEAR(slot(demo, 7)->times.back(), 0.5f, 1e-3f);
}

TEST_F(DemoTest, SkipInCaptureModeRestartsAtOffsetPlusCallerTime) {
  Demo demo(new ResourceRegistry(), testsupport::standInOrder());
  loadAll(demo);
  demo.useCaptureClock();
  demo.timeOffset = -0.04f;
  demo.render(0.5f);
  demo.key('a');
  EXPECT_EQ(demo.render(0.6f), 0);
  EXPECT_EQ(demo.current, 1);
  EXPECT_FALSE(demo.skipRequested);
  demo.render(0.7f);
  EXPECT_FLOAT_EQ(slot(demo, 1)->times.back(), -0.04f + 0.7f);
}

TEST_F(DemoTest, SkipInLiveModeRestartsTheNewSceneAtTheOffset) {
  Demo demo(new ResourceRegistry(), testsupport::standInOrder());
  loadAll(demo);
  demo.timeOffset = 0.0f;
  demo.render(0.0f);
  demo.key('a' | 0x100);  // only the low byte counts
  demo.render(0.0f);
  EXPECT_EQ(demo.current, 1);
  demo.render(0.0f);
  EXPECT_NEAR(slot(demo, 1)->times.back(), 0.0f, 0.05f);
  demo.key('b');
  EXPECT_FALSE(demo.skipRequested);
}

TEST_F(DemoTest, SkippingOrFinishingTheLastSceneEndsTheShow) {
  Demo demo(new ResourceRegistry(), testsupport::standInOrder());
  loadAll(demo);
  demo.useCaptureClock();
  demo.jumpTo(7);
  demo.key('a');
  EXPECT_EQ(demo.render(0.0f), 1);

  Demo second(new ResourceRegistry(), testsupport::standInOrder());
  loadAll(second);
  second.useCaptureClock();
  second.timeOffset = 0.0f;
  second.jumpTo(7);
  // A jump on the capture clock starts the scene at its beginning.
  const float end = second.scenes[7]->duration;
  EXPECT_EQ(second.render(end - 1.0f), 0);
  EXPECT_EQ(second.render(end), 1);
}

TEST_F(DemoTest, EmptyShowEndsAtOnce) {
  Demo demo(new ResourceRegistry(), ShowOrder{});
  while (!demo.loadingDone()) demo.loadNext();
  EXPECT_EQ(demo.count, 0);
  EXPECT_EQ(demo.render(0.0f), 1);
}

TEST_F(DemoTest, DestructionFreesEveryScene) {
  {
    ShowOrder order = testsupport::standInOrder();
    Demo demo(new ResourceRegistry(), order);
    demo.loadNext();  // credits and swarm made aside, not yet entered
    demo.loadNext();
  }
  std::vector<int> destroyed = StandInScene::destroyed;
  std::sort(destroyed.begin(), destroyed.end());
  EXPECT_EQ(destroyed, (std::vector<int>{0, 1, 5, 6}));
}

}  // namespace
