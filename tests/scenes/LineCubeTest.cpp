// The line cube: its curves on the sphere, the ray through the centre
// onto the turning cube, the per-axis blend of a trail, and the one
// instance the registry shares between the scenes that ask for it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "gfx/Random.h"
#include "scenes/effects/LineCube.h"
#include "show/ResourceRegistry.h"

namespace {

const float kPi = 3.14159265358979f;

// The largest distance of q from the centre along any face normal: 11 on
// the cube's surface.
float faceDistanceOf(const LineCube& cube, const Vec3& q) {
  float most = -1e9f;
  for (const Vec3& n : cube.normals) most = std::max(most, n.dot(q));
  return most;
}

TEST(LineCube, CurvesAreClosedLoopsOnTheSphere) {
  zolt::seedRandom(1);
  LineCube cube;
  for (const SplinePath& curve : cube.curves) {
    ASSERT_EQ(curve.points.size(), 14u);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(curve.points[size_t(10 + k)], curve.points[size_t(k)]);
    for (const Vec3& p : curve.points) EXPECT_NEAR(p.length(), 10.0f, 1e-3f);
    EXPECT_FALSE(curve.table.empty());
  }
  // 200 curves of ten points, three draws a point and two a curve.
  zolt::seedRandom(1);
  for (int i = 0; i < 200 * (2 + 10 * 2); ++i) zolt::random();
  const int next = zolt::random();
  zolt::seedRandom(1);
  LineCube again;
  EXPECT_EQ(zolt::random(), next);
}

TEST(LineCube, ThePointsRayThroughTheCentreLeavesOnTheFarFace) {
  zolt::seedRandom(1);
  LineCube cube;
  EXPECT_EQ(cube.project(Vec3(0, 0, 10)), Vec3(0, 0, -11));
  EXPECT_EQ(cube.project(Vec3(-10, 0, 0)), Vec3(11, 0, 0));
  const Vec3 corner = cube.project(Vec3(6, 8, 0));
  EXPECT_NEAR(corner.x, -8.25f, 1e-4f);
  EXPECT_NEAR(corner.y, -11.0f, 1e-4f);
  // The centre has no ray; it stays where it is.
  EXPECT_EQ(cube.project(Vec3()), Vec3());

  for (float a : {0.3f, 1.0f, 2.5f}) {
    cube.setAngle(a);
    for (const Vec3& n : cube.normals) EXPECT_NEAR(n.length(), 1.0f, 1e-5f);
    EXPECT_NEAR(cube.normals[0].dot(cube.normals[1]), 0.0f, 1e-5f);
    EXPECT_NEAR(cube.normals[0].dot(cube.normals[3]), -1.0f, 1e-5f);
    for (const Vec3& p : cube.curves[7].points) {
      const Vec3 q = cube.project(p);
      EXPECT_NEAR(faceDistanceOf(cube, q), 11.0f, 1e-3f) << "angle " << a;
      EXPECT_LT(q.dot(p), 0.0f) << "beyond the centre";
    }
  }
}

TEST(LineCube, EachAxisFollowsTheSphereOrTheCubeByItsWeight) {
  zolt::seedRandom(1);
  LineCube cube;
  Vec3 trail[LineCube::trailLength];
  // x = pi / 2: x follows the sphere (weight 1); x = 3 pi / 2: the cube.
  cube.trail(3, kPi / 2.0f, trail);
  const float h = (kPi / 2.0f + 1.0f) * 2.0f;
  for (int i = 0; i < LineCube::trailLength; ++i) {
    const Vec3 p = cube.curves[3].evaluate(h - float(i) * 0.0625f);
    EXPECT_NEAR(trail[i].x, p.x, 1e-4f);
  }
  cube.trail(3, 1.5f * kPi, trail);
  const float h2 = (1.5f * kPi + 1.0f) * 2.0f;
  for (int i = 0; i < LineCube::trailLength; ++i) {
    const Vec3 p = cube.curves[3].evaluate(h2 - float(i) * 0.0625f);
    EXPECT_NEAR(trail[i].x, cube.project(p).x, 1e-4f);
  }
}

TEST(LineCube, OneCubeSharedThroughTheRegistry) {
  ResourceRegistry registry;
  EXPECT_EQ(registry.get("LineCube"), nullptr) << "nothing to make it with yet";
  LineCube* cube = sharedLineCube(&registry);
  ASSERT_NE(cube, nullptr);
  EXPECT_EQ(sharedLineCube(&registry), cube);
  EXPECT_EQ(registry.get("LineCube"), cube);
  EXPECT_EQ(registry.get("linecube"), nullptr);
}

}  // namespace
