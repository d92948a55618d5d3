// The swarm's landscape without GL: heights that start at 0, a strip that
// tiles along z without a step, a lookup that wraps and never reads off the
// cell array, and the grid the list is compiled from.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gfx/Random.h"
#include "scenes/effects/Terrain.h"

namespace {

class TerrainHeights : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    zolt::seedRandom(1);
    terrain = new Terrain(false);
  }
  static void TearDownTestSuite() {
    delete terrain;
    terrain = nullptr;
  }
  static Terrain* terrain;
};

Terrain* TerrainHeights::terrain = nullptr;

TEST_F(TerrainHeights, StartAtZeroAndVary) {
  float lowest = 1e9f, highest = -1e9f;
  for (const Vec3& p : terrain->points) {
    lowest = std::min(lowest, p.y);
    highest = std::max(highest, p.y);
  }
  EXPECT_GE(lowest, 0.0f);
  EXPECT_LT(lowest, 0.5f);  // the tiling seam only averages, so it stays near 0
  EXPECT_GT(highest, 1.0f);
  EXPECT_LE(highest, terrain->heightRange + 1e-4f);
  // The lattice spans the strip.
  EXPECT_EQ(terrain->point(0, 0).x, -16.0f);
  EXPECT_EQ(terrain->point(64, 128).x, 16.0f);
  EXPECT_EQ(terrain->point(64, 128).z, 64.0f);
}

TEST_F(TerrainHeights, EndRowsMatchSoTheTilesJoin) {
  for (int j = 0; j <= Terrain::cellsX; ++j) {
    EXPECT_EQ(terrain->point(j, 0).y, terrain->point(j, Terrain::cellsZ).y) << "column " << j;
    // Next to the seam the slope is halved towards it.
    const float seam = terrain->point(j, 0).y;
    EXPECT_LE(std::fabs(terrain->point(j, 1).y - seam), 3.0f);
    EXPECT_LE(std::fabs(terrain->point(j, Terrain::cellsZ - 1).y - seam), 3.0f);
  }
}

TEST_F(TerrainHeights, LookupWrapsByTheTileLength) {
  for (float z : {-64.0f, -20.3f, 0.0f, 17.5f, 63.9f}) {
    for (float x : {-15.9f, -3.2f, 0.0f, 8.7f, 15.9f}) {
      EXPECT_EQ(terrain->heightAt(x, z), terrain->heightAt(x, z + 128.0f)) << x << ", " << z;
      EXPECT_EQ(terrain->heightAt(x, z), terrain->heightAt(x, z + 256.0f)) << x << ", " << z;
    }
  }
  // The lookup reads the centre of the cell under the position.
  const Terrain::Cell& cell = terrain->cells[size_t(34 + 70 * Terrain::cellsX)];
  EXPECT_EQ(terrain->heightAt(cell.centre.x, cell.centre.z), cell.centre.y);
}

TEST_F(TerrainHeights, LookupOffTheStripReadsTheNearestEdge) {
  EXPECT_EQ(terrain->heightAt(-100.0f, 10.0f), terrain->heightAt(-15.9f, 10.0f));
  EXPECT_EQ(terrain->heightAt(16.0f, 10.0f), terrain->heightAt(15.9f, 10.0f));
  EXPECT_EQ(terrain->heightAt(3.0f, -64.0f - 30.0f), terrain->heightAt(3.0f, 64.0f - 30.0f));
  EXPECT_TRUE(std::isfinite(terrain->heightAt(3.0f, -1e9f)));
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(terrain->heightAt(nan, 0.0f), 0.0f);
  EXPECT_EQ(terrain->heightAt(0.0f, std::numeric_limits<float>::infinity()), 0.0f);
}

TEST_F(TerrainHeights, GridHas128RowStripsAnd65ColumnStrips) {
  const auto strips = terrain->gridStrips();
  ASSERT_EQ(strips.size(), 128u + 65u);
  for (size_t s = 0; s < 128; ++s) {
    ASSERT_EQ(strips[s].size(), 65u);
    EXPECT_EQ(strips[s].front(), int(s + 1) * 65) << "row 0 is left out";
  }
  for (size_t s = 128; s < strips.size(); ++s) {
    ASSERT_EQ(strips[s].size(), 129u);
    EXPECT_EQ(strips[s].back() - strips[s].front(), 128 * 65);
  }
}

TEST(Terrain, SameSeedSameLandscape) {
  zolt::seedRandom(7);
  Terrain a(false);
  const int next = zolt::random();
  zolt::seedRandom(7);
  Terrain b(false);
  EXPECT_EQ(zolt::random(), next) << "the landscape draws a fixed count of values";
  for (size_t i = 0; i < a.points.size(); ++i) ASSERT_EQ(a.points[i].y, b.points[i].y);
}

}  // namespace
