// The finale's clock: real time up to beat 108, then ever faster, so the
// gallery's beats are used up well before the scene's 132 beats end; the
// panel movie's position and the final dissolve's fade over the gallery.
#include <gtest/gtest.h>

#include <cmath>

#include "scenes/finale/FinaleClock.h"

namespace {

using finale::FinaleAct;

TEST(FinaleClock, RunsInRealTimeUntilBeat108ThenAccelerates) {
  EXPECT_FLOAT_EQ(finale::finaleClock(0.0f), 0.0f);
  EXPECT_FLOAT_EQ(finale::finaleClock(107.9f), 107.9f);
  EXPECT_FLOAT_EQ(finale::finaleClock(108.0f), 108.0f);
  EXPECT_FLOAT_EQ(finale::finaleClock(116.0f), 120.0f);  // 116 + 2^2
  EXPECT_FLOAT_EQ(finale::finaleClock(124.0f), 140.0f);  // 124 + 4^2
  // Ever faster: each step of real time moves the clock further.
  float step = 0.0f;
  for (float b = 108.0f; b < 124.0f; b += 1.0f) {
    const float next = finale::finaleClock(b + 1.0f) - finale::finaleClock(b);
    EXPECT_GT(next, step) << b;
    step = next;
  }
}

TEST(FinaleClock, GoesBlackNearBeat123AndStaysBlackToTheEnd) {
  EXPECT_EQ(finale::finaleActAt(finale::finaleClock(0.0f)), FinaleAct::Tentacles);
  EXPECT_EQ(finale::finaleActAt(finale::finaleClock(31.99f)), FinaleAct::Tentacles);
  EXPECT_EQ(finale::finaleActAt(finale::finaleClock(32.0f)), FinaleAct::Gallery);
  EXPECT_EQ(finale::finaleActAt(finale::finaleClock(123.2f)), FinaleAct::Gallery);
  EXPECT_EQ(finale::finaleActAt(finale::finaleClock(123.4f)), FinaleAct::Black);
  // The clock reaches 138 between 123.2 and 123.4: b + ((b - 108) / 4)^2 = 138.
  const float crossing = 108.0f + 2.0f * (-4.0f + std::sqrt(16.0f + 120.0f));
  EXPECT_NEAR(crossing, 123.32f, 0.01f);
  EXPECT_NEAR(finale::finaleClock(crossing), 138.0f, 1e-3f);
  for (float b = 123.4f; b <= finale::kLengthInBeats; b += 0.5f)
    EXPECT_EQ(finale::finaleActAt(finale::finaleClock(b)), FinaleAct::Black) << b;
}

TEST(FinaleClock, PanelMovieFollowsTheGalleryLoopsNearTheEndThenHolds) {
  EXPECT_FLOAT_EQ(finale::panelMoviePosition(0.0f), 0.0f);
  EXPECT_FLOAT_EQ(finale::panelMoviePosition(47.5f), 47.5f);
  EXPECT_FLOAT_EQ(finale::panelMoviePosition(90.0f), 90.0f);
  EXPECT_FLOAT_EQ(finale::panelMoviePosition(91.5f), 91.5f);
  EXPECT_FLOAT_EQ(finale::panelMoviePosition(92.5f), 100.0f);
  EXPECT_FLOAT_EQ(finale::panelMoviePosition(105.0f), 100.0f);
}

TEST(FinaleClock, EndDissolveIsHeavyAtBothEndsAndClearBetween) {
  EXPECT_NEAR(finale::endDissolveFade(92.0f), 0.05f, 1e-4f);
  EXPECT_FLOAT_EQ(finale::endDissolveFade(99.0f), 1.0f);  // capped at 1
  EXPECT_NEAR(finale::endDissolveFade(106.0f), 0.05f, 1e-3f);
  for (float e = 92.0f; e <= 106.0f; e += 0.25f) {
    EXPECT_GE(finale::endDissolveFade(e), 0.0f) << e;
    EXPECT_LE(finale::endDissolveFade(e), 1.0f) << e;
  }
}

}  // namespace
