// Rotations through quaternions and back, every branch of the conversion,
// and the blend between two orientations.
#include <gtest/gtest.h>

#include <cmath>

#include "gfx/Quaternion.h"

namespace {

// Column-major rotation by `degrees` about the unit axis (x, y, z).
void axisRotation(float degrees, float x, float y, float z, float m[16]) {
  const float a = degrees * 3.14159265f / 180.0f, c = std::cos(a), s = std::sin(a), k = 1 - c;
  const float r[16] = {x * x * k + c,     y * x * k + z * s, z * x * k - y * s, 0,
                       x * y * k - z * s, y * y * k + c,     z * y * k + x * s, 0,
                       x * z * k + y * s, y * z * k - x * s, z * z * k + c,     0,
                       0,                 0,                 0,                 1};
  for (int i = 0; i < 16; ++i) m[i] = r[i];
}

void expectSameMatrix(const float a[16], const float b[16], const char* what) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(a[i], b[i], 1e-5f) << what << " element " << i;
}

TEST(Quaternion, MatricesSurviveTheRoundTripInEveryBranch) {
  // Small turns take the trace branch; half turns about each axis take the
  // largest-diagonal branches.
  const struct {
    float degrees, x, y, z;
  } turns[] = {{30, 0, 0, 1}, {100, 0.6f, 0.8f, 0}, {180, 1, 0, 0}, {180, 0, 1, 0}, {180, 0, 0, 1}, {170, 0.48f, 0.6f, 0.64f}};
  for (const auto& turn : turns) {
    float m[16], back[16];
    axisRotation(turn.degrees, turn.x, turn.y, turn.z, m);
    quaternionToMatrix(quaternionFromMatrix(m), back);
    expectSameMatrix(m, back, "round trip");
  }
  // A matrix with no rotation in it still gives a unit quaternion.
  const float degenerate[16] = {};
  const Quaternion q = quaternionFromMatrix(degenerate);
  EXPECT_NEAR(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z, 1.0f, 1e-6f);
}

TEST(Quaternion, SlerpRunsFromOneOrientationToTheOtherAtEvenSpeed) {
  float a[16], b[16], halfway[16], expected[16];
  axisRotation(20, 0, 0, 1, a);
  axisRotation(100, 0, 0, 1, b);
  const Quaternion qa = quaternionFromMatrix(a), qb = quaternionFromMatrix(b);
  quaternionToMatrix(slerp(qa, qb, 0.0f), halfway);
  expectSameMatrix(halfway, a, "t = 0");
  quaternionToMatrix(slerp(qa, qb, 1.0f), halfway);
  expectSameMatrix(halfway, b, "t = 1");
  quaternionToMatrix(slerp(qa, qb, 0.5f), halfway);
  axisRotation(60, 0, 0, 1, expected);
  expectSameMatrix(halfway, expected, "t = 0.5");
  // The short way round: from 170 to -170 degrees passes through 180.
  axisRotation(170, 0, 0, 1, a);
  axisRotation(-170, 0, 0, 1, b);
  quaternionToMatrix(slerp(quaternionFromMatrix(a), quaternionFromMatrix(b), 0.5f), halfway);
  axisRotation(180, 0, 0, 1, expected);
  expectSameMatrix(halfway, expected, "short way");
}

}  // namespace
