#include <gtest/gtest.h>

#include "gfx/MathUtil.h"

TEST(MathUtil, RemapExtrapolatesOutsideTheInputRange) {
  EXPECT_FLOAT_EQ(remap(5, 0, 10, 100, 200), 150);
  EXPECT_FLOAT_EQ(remap(20, 0, 10, 100, 200), 300);
  EXPECT_FLOAT_EQ(remap(-10, 0, 10, 100, 200), 0);
  // Falling output range.
  EXPECT_FLOAT_EQ(remap(2.5f, 0, 10, 1, 0), 0.75f);
}

TEST(MathUtil, LerpBlendsScalarsAndVectorsFromAToB) {
  EXPECT_FLOAT_EQ(lerp(0.25f, 4, 8), 5);
  EXPECT_FLOAT_EQ(lerp(0, 4, 8), 4);
  EXPECT_FLOAT_EQ(lerp(1, 4, 8), 8);
  Vec3 v = lerpVec3(0.5f, Vec3(0, 10, -4), Vec3(2, 20, 4));
  EXPECT_EQ(v, Vec3(1, 15, 0));
}

TEST(Vec3, ArithmeticAndDivisionByZero) {
  Vec3 a(1, 2, 3), b(4, -5, 6);
  EXPECT_EQ(a + b, Vec3(5, -3, 9));
  EXPECT_EQ(a - b, Vec3(-3, 7, -3));
  EXPECT_EQ(a * 2.0f, Vec3(2, 4, 6));
  EXPECT_EQ(b / 2.0f, Vec3(2, -2.5f, 3));
  EXPECT_EQ(a / 0.0f, Vec3(0, 0, 0));
  EXPECT_FLOAT_EQ(a.dot(b), 4 - 10 + 18);
  EXPECT_FLOAT_EQ(Vec3(3, 4, 12).length(), 13);
  EXPECT_NE(a, Vec3(1, 2, 3.0001f));
  Vec3 c;
  c.set(7, 8, 9);
  EXPECT_EQ(c, Vec3(7, 8, 9));
}

TEST(Vec3, CrossFollowsTheRightHandRule) {
  EXPECT_EQ(cross(Vec3(1, 0, 0), Vec3(0, 1, 0)), Vec3(0, 0, 1));
  EXPECT_EQ(cross(Vec3(0, 1, 0), Vec3(1, 0, 0)), Vec3(0, 0, -1));
  Vec3 a(1, 2, 3), b(-2, 0.5f, 4);
  Vec3 c = cross(a, b);
  EXPECT_NEAR(c.dot(a), 0, 1e-5);
  EXPECT_NEAR(c.dot(b), 0, 1e-5);
}

TEST(Vec3, NormalizeAndNormalizedGiveUnitLengthAndKeepZero) {
  Vec3 v(0, 3, 4);
  v.normalize();
  EXPECT_FLOAT_EQ(v.y, 0.6f);
  EXPECT_FLOAT_EQ(v.z, 0.8f);
  Vec3 n = normalized(Vec3(-2, 0, 0));
  EXPECT_EQ(n, Vec3(-1, 0, 0));
  EXPECT_EQ(normalized(Vec3()), Vec3());
}
