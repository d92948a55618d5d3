// The credits' cameras and fades without GL: the cut between the four
// cameras in every twelve beats, each looking at the field, the ending's
// swing from straight down to the low view, and the credits picture's fade.
#include <gtest/gtest.h>

#include <cmath>

#include "gfx/MathUtil.h"
#include "scenes/credits/CreditsCamera.h"
#include "scenes/credits/CreditsScene.h"

namespace {

// The view puts `target` straight ahead (-z) with `up` upwards on screen.
void expectLooksAt(const float rotation[16], const Vec3& eye, const Vec3& target, const Vec3& up, float beat) {
  const Vec3 seen = rotatePoint(rotation, target - eye), upSeen = rotatePoint(rotation, up);
  EXPECT_NEAR(seen.x, 0.0f, 1e-3f) << "beat " << beat;
  EXPECT_NEAR(seen.y, 0.0f, 1e-3f) << "beat " << beat;
  EXPECT_LT(seen.z, 0.0f) << "beat " << beat;
  EXPECT_NEAR(upSeen.x, 0.0f, 1e-4f) << "beat " << beat;
  EXPECT_GT(upSeen.y, 0.0f) << "beat " << beat;
}

TEST(CreditsCamera, CutsFourTwoFourTwoBeatsInEveryTwelveAndAlwaysLooksAtTheField) {
  const float cuts[][2] = {{0, 0},  {3.99f, 0}, {4, 1},  {5.99f, 1}, {6, 2},  {9.99f, 2}, {10, 3},
                           {11.99f, 3}, {12, 0}, {16.5f, 1}, {46, 3}, {53, 1}, {55.9f, 2}};
  for (const auto& cut : cuts) EXPECT_EQ(creditsCameraIndex(cut[0]), int(cut[1])) << "beat " << cut[0];
  for (float b = 0.0f; b < 56.0f; b += 0.5f) {
    const CreditsView view = creditsCamera(b, 0.7f * b, 0.3f * b);
    float rotation[16];
    creditsViewRotation(view, rotation);
    expectLooksAt(rotation, view.eye, Vec3(0, 5, 0), view.up, b);
  }
  // The corner camera bobs with the orbit; the far one sways with time.
  EXPECT_FLOAT_EQ(creditsCamera(5.0f, 0.0f, 1.5707964f).eye.y, 80.0f);
  EXPECT_NEAR(creditsCamera(7.0f, 3.14159f, 9.0f).eye.x, 25.0f, 1e-3f);
}

TEST(CreditsEnding, RunsFromBeatFiftySixToTheLowViewAtBeatSixtyFour) {
  EXPECT_FLOAT_EQ(endingProgress(56.0f), 0.0f);
  EXPECT_FLOAT_EQ(endingProgress(60.0f), 0.5f);
  EXPECT_FLOAT_EQ(endingProgress(64.0f), 1.0f);
  EXPECT_FLOAT_EQ(endingProgress(70.0f), 1.0f);
  const EndingView start = endingView(0.0f), end = endingView(1.0f), half = endingView(0.5f);
  expectLooksAt(start.rotation, start.eye, Vec3(0, 5, 0), Vec3(0, 0, -1), 56.0f);
  expectLooksAt(end.rotation, end.eye, Vec3(0, 0, 0), Vec3(0, 1, 0), 64.0f);
  EXPECT_TRUE(start.eye == Vec3(0, 100, 0));
  EXPECT_TRUE(end.eye == Vec3(0, 4, 40));
  EXPECT_FLOAT_EQ(end.fieldOfView, 60.0f);
  // Halfway the view is tilted halfway from straight down (90 degrees) to
  // the low view's 5.7 degrees.
  const float forwardY = -half.rotation[6], forwardZ = -half.rotation[10];
  EXPECT_NEAR(std::atan2(-forwardY, -forwardZ) * 57.29578f, 0.5f * (90.0f + 5.7105932f), 0.05f);
}

TEST(CreditsPicture, AbsentUpToBeatTwoAndFromBeatTwentyOpaqueInBetween) {
  for (float b : {0.0f, 2.0f, 20.0f, 30.0f}) EXPECT_EQ(creditsPictureAlpha(b), 0.0f) << "beat " << b;
  EXPECT_GT(creditsPictureAlpha(2.05f), 0.0f);
  EXPECT_LT(creditsPictureAlpha(3.9f), 1.0f);
  for (float b = 3.95f; b <= 18.05f; b += 0.05f) EXPECT_FLOAT_EQ(creditsPictureAlpha(b), 1.0f) << "beat " << b;
  EXPECT_LT(creditsPictureAlpha(18.1f), 1.0f);
  EXPECT_GT(creditsPictureAlpha(19.95f), 0.0f);
}

}  // namespace
