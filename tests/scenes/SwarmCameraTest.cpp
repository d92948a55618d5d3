// The swarm's camera cuts: a new name glides over one beat, the same name
// again switches at once; views built by lookAlong put the eye at the
// origin looking down -z, and the blend runs from one view to the other.
#include <gtest/gtest.h>

#include <cmath>

#include "scenes/swarm/SwarmCamera.h"

namespace {

const float kBeatsPerFrame = 130.0f / 60.0f / 30.0f;

Vec3 transform(const float m[16], const Vec3& p) {
  return Vec3(m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
              m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]);
}

TEST(SwarmCameraCuts, ANewCameraGlidesOverOneBeat) {
  CameraCuts cuts;
  cuts.setCamera("Camera01");
  float weight = 0.0f;
  while (cuts.gliding(kBeatsPerFrame, &weight)) {}
  cuts.setCamera("Camera02");
  EXPECT_EQ(cuts.previous, "Camera01");
  int frames = 0;
  float last = -1.0f;
  while (cuts.gliding(kBeatsPerFrame, &weight)) {
    EXPECT_GT(weight, last);
    EXPECT_LT(weight, 1.0f);
    last = weight;
    ++frames;
  }
  // One beat is 0.4615 s: 14 frames at 30 a second.
  EXPECT_EQ(frames, 14);
  EXPECT_EQ(weight, 1.0f);
  EXPECT_EQ(cuts.transition, 0.0f);
}

TEST(SwarmCameraCuts, TheSameNameAgainSwitchesAtOnce) {
  CameraCuts cuts;
  cuts.setCamera("Camera01");
  cuts.setCamera("under");
  float weight = 0.0f;
  ASSERT_TRUE(cuts.gliding(kBeatsPerFrame, &weight));
  cuts.setCamera("under");
  EXPECT_EQ(cuts.transition, 1.0f);
  EXPECT_EQ(cuts.previous, "under");
  EXPECT_FALSE(cuts.gliding(kBeatsPerFrame, &weight));
  EXPECT_EQ(weight, 1.0f);
  EXPECT_EQ(cuts.transition, 0.0f);
}

TEST(SwarmCameraViews, LookAlongSeesTheTargetStraightAhead) {
  const Vec3 eye(3.0f, 25.0f, -110.0f), target(0.0f, 0.0f, -50.0f);
  float m[16];
  viewMatrix(lookAlong(eye, target - eye, Vec3(0, 1, 0)), m);
  const Vec3 e = transform(m, eye), t = transform(m, target);
  EXPECT_NEAR(e.length(), 0.0f, 1e-4f);
  EXPECT_NEAR(t.x, 0.0f, 1e-3f);
  EXPECT_NEAR(t.y, 0.0f, 1e-3f);
  EXPECT_NEAR(t.z, -(target - eye).length(), 1e-3f);
  // World up stays up on the screen.
  const Vec3 above = transform(m, target + Vec3(0, 1, 0));
  EXPECT_GT(above.y, t.y);
  // Forward along the up vector still gives a proper view.
  viewMatrix(lookAlong(Vec3(), Vec3(0, -1, 0), Vec3(0, 1, 0)), m);
  EXPECT_NEAR(transform(m, Vec3(0, -5, 0)).z, -5.0f, 1e-4f);
}

TEST(SwarmCameraViews, BlendRunsFromOneViewToTheOther) {
  const SwarmView a = lookAlong(Vec3(0, 10, 0), Vec3(0, 0, 1), Vec3(0, 1, 0));
  const SwarmView b = lookAlong(Vec3(10, 0, 40), Vec3(-1, 0, 0), Vec3(0, 1, 0));
  float ma[16], mb[16], m0[16], m1[16], mh[16];
  viewMatrix(a, ma);
  viewMatrix(b, mb);
  viewMatrix(blendViews(a, b, 0.0f), m0);
  viewMatrix(blendViews(a, b, 1.0f), m1);
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(m0[i], ma[i], 1e-4f) << i;
    EXPECT_NEAR(m1[i], mb[i], 1e-4f) << i;
  }
  // Halfway the eye is halfway and the view has turned by half the angle.
  const SwarmView half = blendViews(a, b, 0.5f);
  EXPECT_NEAR(half.eye.x, 5.0f, 1e-5f);
  EXPECT_NEAR(half.eye.z, 20.0f, 1e-5f);
  viewMatrix(half, mh);
  const Vec3 ahead = transform(mh, half.eye + Vec3(-1, 0, 1));
  EXPECT_NEAR(ahead.x, 0.0f, 1e-3f);
  EXPECT_LT(ahead.z, 0.0f);
}

}  // namespace
