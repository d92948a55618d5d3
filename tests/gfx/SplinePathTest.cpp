#include <gtest/gtest.h>

#include "gfx/SplinePath.h"

namespace {

SplinePath square() {
  SplinePath path;
  path.addPoint(0, 0, 0);
  path.addPoint(10, 0, 0);
  path.addPoint(10, 10, 0);
  path.addPoint(0, 10, 0);
  return path;
}

void expectNear(const Vec3& a, const Vec3& b, float eps = 1e-4f) {
  EXPECT_NEAR(a.x, b.x, eps);
  EXPECT_NEAR(a.y, b.y, eps);
  EXPECT_NEAR(a.z, b.z, eps);
}

}  // namespace

TEST(SplinePath, ClosesAfterOneLoopAndWrapsNegativeParameters) {
  SplinePath path = square();
  expectNear(path.evaluate(4), path.evaluate(0));
  expectNear(path.evaluate(-0.6f), path.evaluate(3.4f));
  expectNear(path.evaluate(9.25f), path.evaluate(1.25f));
  // The curve is continuous across integer parameters.
  expectNear(path.evaluate(1.0f - 1e-4f), path.evaluate(1.0f), 1e-2f);
}

TEST(SplinePath, ApproximatesRatherThanInterpolates) {
  SplinePath path = square();
  // At t = 0 the curve sits at (P0 + 4 P1 + P2) / 6.
  expectNear(path.evaluate(0), Vec3(50.0f / 6, 10.0f / 6, 0));
  Vec3 mid = path.evaluate(0.5f);
  EXPECT_GT(mid.x, 0);
  EXPECT_LT(mid.x, 10);
  EXPECT_GT(mid.y, 0);
  EXPECT_LT(mid.y, 10);
}

TEST(SplinePath, TableRunsFromZeroToNProportionalToArcLength) {
  SplinePath path = square();
  path.buildTable();
  const int n = 4, s = path.samplesPerSegment;
  ASSERT_EQ(path.table.size(), static_cast<size_t>(n * s + 1));
  EXPECT_GT(path.totalLength, 0);
  EXPECT_FLOAT_EQ(path.table.front().distance, 0);
  EXPECT_FLOAT_EQ(path.table.back().distance, 4);
  EXPECT_EQ(path.table.back().position, Vec3(0, 10, 0));
  for (size_t i = 1; i < path.table.size(); ++i)
    EXPECT_GE(path.table[i].distance, path.table[i - 1].distance) << i;
  // Each step's distance grows by the chord from the previous sample, scaled.
  float scale = n / path.totalLength;
  for (int i = 2; i < n * s; ++i) {
    float chord = (path.table[i - 1].position - path.table[i - 2].position).length();
    ASSERT_NEAR(path.table[i].distance - path.table[i - 1].distance, chord * scale, 1e-4f) << i;
  }
  // Measuring starts at the first control point, so the first step holds the
  // jump from P0 onto the curve.
  float jump = (path.table[0].position - Vec3(0, 0, 0)).length();
  EXPECT_NEAR(path.table[1].distance, jump * scale, 1e-4f);
  // The square's spline is symmetric, so whole segments cover equal spans.
  float seg1 = path.table[2 * s].distance - path.table[s].distance;
  float seg2 = path.table[3 * s].distance - path.table[2 * s].distance;
  EXPECT_NEAR(seg1, seg2, 1e-3f);
}

TEST(SplinePath, EmptyOrDegeneratePathsBuildWithoutDividingByZero) {
  SplinePath empty;
  empty.buildTable();
  EXPECT_TRUE(empty.table.empty());
  EXPECT_EQ(empty.totalLength, 0);
  EXPECT_EQ(empty.evaluate(1.5f), Vec3());

  SplinePath still;
  still.addPoint(1, 2, 3);
  still.addPoint(1, 2, 3);
  still.buildTable();
  ASSERT_EQ(still.table.size(), 201u);
  for (const PathSample& sample : still.table) EXPECT_FALSE(std::isnan(sample.distance));

  // Rebuilding replaces the previous table.
  SplinePath path = square();
  path.buildTable();
  path.addPoint(0, 5, 0);
  path.buildTable();
  EXPECT_EQ(path.table.size(), 501u);
}
