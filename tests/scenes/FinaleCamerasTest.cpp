// The finale's cameras: the four tentacle moves by fmod(a, 4), look-at
// views that put the eye at the origin and the target straight ahead, and
// the inverse of a camera matrix that places a panel in front of it.
#include <gtest/gtest.h>

#include <cmath>

#include "scenes/finale/FinaleCameras.h"

namespace {

Vec3 transform(const float m[16], const Vec3& p) {
  return Vec3(m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
              m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]);
}

void expectNear(const Vec3& a, const Vec3& b, float tolerance = 1e-4f) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}

TEST(FinaleTentacleCamera, PicksTheMoveByTheBeatWithinFour) {
  // First move: circling at radius 5, one unit below the centre.
  const float a0 = 0.5f;
  finale::LookAt c = finale::tentacleCamera(a0);
  expectNear(c.eye, Vec3(5.0f * std::cos(a0), -1.0f, 5.0f * std::sin(a0)));
  expectNear(c.target, Vec3(0.0f, -1.0f, 0.0f));
  // The same place in the fourth cycle is the same move with its own angle.
  const float a4 = 12.5f;
  c = finale::tentacleCamera(a4);
  expectNear(c.eye, Vec3(5.0f * std::cos(a4), -1.0f, 5.0f * std::sin(a4)));

  c = finale::tentacleCamera(1.0f);  // boundary starts the second move
  expectNear(c.eye, Vec3(5.0f, -5.0f, 5.0f));
  expectNear(c.target, Vec3(0.0f, -0.5f, 0.0f));
  c = finale::tentacleCamera(17.9f);
  expectNear(c.eye, Vec3(5.0f, -5.0f, 5.0f));

  const float a2 = 22.25f;  // fmod 2.25: the swinging move from below
  c = finale::tentacleCamera(a2);
  expectNear(c.eye, Vec3(7.0f * std::sin(2.0f * a2), -7.0f, 7.0f), 1e-3f);
  expectNear(c.target, Vec3(3.0f * std::sin(a2), -0.5f, 0.0f), 1e-3f);

  c = finale::tentacleCamera(3.0f);
  expectNear(c.eye, Vec3(0.0f, -5.0f, 3.0f));
  expectNear(c.target, Vec3(0.0f, -1.0f, 0.0f));
  c = finale::tentacleCamera(31.99f);
  expectNear(c.eye, Vec3(0.0f, -5.0f, 3.0f));
}

TEST(FinaleLookAtView, TranslatedByTargetAndEyeLookingAlongTheirDifferenceYUp) {
  for (float a : {0.3f, 1.5f, 2.2f, 2.9f, 3.5f, 10.7f}) {
    const finale::LookAt c = finale::tentacleCamera(a);
    float view[16];
    finale::lookAtView(c.eye, c.target, view);
    // Translation -R T - R E: the camera stands at E + T.
    const Vec3 stand = c.eye + c.target;
    expectNear(transform(view, stand), Vec3(0.0f, 0.0f, 0.0f), 1e-4f);
    const Vec3 ahead = transform(view, stand + c.target - c.eye);
    const float distance = (c.target - c.eye).length();
    expectNear(ahead, Vec3(0.0f, 0.0f, -distance), 1e-4f);
    // World up stays up on screen (never flipped).
    const Vec3 above = transform(view, stand + c.target - c.eye + Vec3(0.0f, 1.0f, 0.0f));
    EXPECT_GT(above.y, ahead.y) << a;
  }
  // Straight down the y axis the view is still a rotation.
  float view[16];
  finale::lookAtView(Vec3(0.0f, 10.0f, 0.0f), Vec3(0.0f, 0.0f, 0.0f), view);
  for (float v : view) EXPECT_TRUE(std::isfinite(v));
  expectNear(transform(view, Vec3(0.0f, 0.0f, 0.0f)), Vec3(0.0f, 0.0f, -10.0f));
}

TEST(FinaleLookAtView, NamedGalleryViewsLookAtTheBall) {
  Vec3 eye;
  ASSERT_TRUE(finale::galleryViewEye("inside", 0.0f, &eye));
  expectNear(eye, Vec3(5.0f, 0.0f, 0.0f));
  ASSERT_TRUE(finale::galleryViewEye("circle", 1.5707963f, &eye));
  expectNear(eye, Vec3(0.0f, 0.0f, 50.0f), 1e-3f);
  ASSERT_TRUE(finale::galleryViewEye("uptop", 7.0f, &eye));
  expectNear(eye, Vec3(50.0f, 50.0f, 50.0f));
  EXPECT_FALSE(finale::galleryViewEye("Camera0", 0.0f, &eye));
  EXPECT_FALSE(finale::galleryViewEye("cap3", 0.0f, &eye));
  EXPECT_FALSE(finale::galleryViewEye("", 0.0f, &eye));
}

TEST(FinaleLookAtView, RigidInverseUndoesACameraMatrix) {
  float view[16], placement[16];
  const Vec3 eye(12.0f, -3.0f, 40.0f);
  finale::lookAtView(eye, Vec3(1.0f, 2.0f, 3.0f), view);
  finale::invertRigid(view, placement);
  // The placement puts the camera's origin where it stands, and undoes the view.
  expectNear(transform(placement, Vec3(0.0f, 0.0f, 0.0f)), eye + Vec3(1.0f, 2.0f, 3.0f), 1e-3f);
  const Vec3 p(4.0f, 5.0f, -6.0f);
  expectNear(transform(placement, transform(view, p)), p, 1e-3f);
  expectNear(transform(view, transform(placement, p)), p, 1e-3f);
}

}  // namespace
