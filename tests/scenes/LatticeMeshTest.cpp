// The lattice-deformed mesh on a small box made in memory: the rest key
// reproduces the mesh, key blending and its wrap, the random draws it
// consumes, the variants, a missing mesh, and the ground transition's
// stages as the driver receives them.
#include <gtest/gtest.h>

#include <cmath>

#include "gfx/Random.h"
#include "scenes/effects/LatticeMesh.h"
#include "support/GlTestContext.h"
#include "tests/support/LineFixtures.h"

using scenetest::feedbackLines;

namespace {

// A 40 x 20 x 10 box (8 points, 12 faces) stored in world space 100 units
// along x, as the model tool writes lettering.
Lib3dsFile* boxFile(const char* meshName = "Text01", float depth = 10.0f) {
  Lib3dsFile* file = lib3ds_file_new();
  Lib3dsMatrix moved;
  scenetest::translation(moved, 100.0f, 0.0f, 0.0f);
  std::vector<std::array<float, 3>> points;
  for (int i = 0; i < 8; ++i) {
    points.push_back({100.0f + ((i & 1) ? 20.0f : -20.0f), (i & 2) ? 10.0f : -10.0f, (i & 4) ? depth : 0.0f});
  }
  scenetest::addMesh(file, meshName, points,
                     {{0, 1, 3}, {0, 3, 2}, {4, 5, 7}, {4, 7, 6}, {0, 1, 5}, {0, 5, 4},
                      {2, 3, 7}, {2, 7, 6}, {0, 2, 6}, {0, 6, 4}, {1, 3, 7}, {1, 7, 5}},
                     moved);
  return file;
}

// The mesh's own point i (before the world move).
std::array<float, 3> ownPoint(int i, float depth = 10.0f) {
  return {(i & 1) ? 20.0f : -20.0f, (i & 2) ? 10.0f : -10.0f, (i & 4) ? depth : 0.0f};
}

float maxDistance(const float* a, const float* b, int count) {
  float worst = 0.0f;
  for (int i = 0; i < count; ++i) worst = std::max(worst, std::fabs(a[i] - b[i]));
  return worst;
}

}  // namespace

TEST(LatticeMesh, RestKeyReproducesEveryPointOfTheMesh) {
  Lib3dsFile* file = boxFile();
  for (const char* model : {"zolt.3ds", "t-rov.3ds", "qz5.3ds"}) {
    LatticeMesh mesh(file, model);
    ASSERT_EQ(mesh.faceCount, 12) << model;
    ASSERT_EQ(mesh.pointCount, 8);
    mesh.update(0.0f);
    for (int p = 0; p < 8; ++p) {
      const auto expected = ownPoint(p);
      for (int a = 0; a < 3; ++a) EXPECT_NEAR(mesh.positions[size_t(p * 3 + a)], expected[size_t(a)], 1e-3f) << model;
    }
  }
  lib3ds_file_free(file);
}

TEST(LatticeMesh, BlendsKeysWithTheirPhaseAndWraps) {
  Lib3dsFile* file = boxFile();
  LatticeMesh zolt(file, "zolt.3ds");
  zolt.update(2.5f);  // the opening's model reaches key 1 at 2.5
  EXPECT_LT(maxDistance(zolt.lattice, zolt.keys[1], 192), 1e-3f);
  zolt.update(10.0f);  // and is back on key 0 at 10
  EXPECT_LT(maxDistance(zolt.lattice, zolt.keys[0], 192), 1e-3f);
  zolt.update(-7.5f);  // a negative input wraps like 2.5
  EXPECT_LT(maxDistance(zolt.lattice, zolt.keys[1], 192), 1e-3f);
  // Eased: a quarter of the way in time is sin(pi/8) of the way in shape.
  zolt.update(0.625f);
  const int corner = (3 * 16 + 3 * 4 + 0) * 3 + 2;  // z of control point (0, 3, 3)
  const float expected = zolt.keys[0][corner] + std::sin(0.25f * 1.570795f) * (zolt.keys[1][corner] - zolt.keys[0][corner]);
  EXPECT_NEAR(zolt.lattice[corner], expected, 1e-3f);

  LatticeMesh qz5(file, "qz5.3ds");
  qz5.update(4.0f);  // p = 4 wraps to key 0
  EXPECT_LT(maxDistance(qz5.lattice, qz5.keys[0], 192), 1e-3f);
  qz5.update(3.0f);
  EXPECT_LT(maxDistance(qz5.lattice, qz5.keys[3], 192), 1e-3f);
  lib3ds_file_free(file);
}

TEST(LatticeMesh, KeysBendOnlyWhereTheVariantSays) {
  Lib3dsFile* file = boxFile();
  LatticeMesh zolt(file, "zolt.3ds");
  LatticeMesh qz5(file, "qz5.3ds");
  for (int c = 0; c < 64; ++c) {
    const int j = (c / 4) % 4;
    const int i = c % 4;
    // Keys 0 and 2 of the opening's model are the undisturbed grid.
    EXPECT_EQ(zolt.keys[2][c * 3 + 2], zolt.keys[0][c * 3 + 2]);
    // The bottom row (j = 0) never moves; x and y never move.
    if (j == 0) {
      EXPECT_EQ(zolt.keys[1][c * 3 + 2], zolt.keys[0][c * 3 + 2]);
    }
    EXPECT_EQ(zolt.keys[1][c * 3], zolt.keys[0][c * 3]);
    // Key 1, column i: sine((1 + i) quarter turns) x depth/2 x gain 2 x scale 10.
    if (j > 0) {
      const float wave = std::sin(float(1 + i) * 1.570795f) * 5.0f * 2.0f * 10.0f;
      EXPECT_NEAR(zolt.keys[1][c * 3 + 2] - zolt.keys[0][c * 3 + 2], wave, 1e-3f);
      // The finale's qz5 bends key 2 too, with a cosine at scale 5.
      const float cosine = std::cos(float(2 + i) * 1.570795f) * 5.0f * 2.0f * 5.0f;
      EXPECT_NEAR(qz5.keys[2][c * 3 + 2] - qz5.keys[0][c * 3 + 2], cosine, 1e-3f);
    }
  }
  // Only the opening's model shrinks its box for the footprint.
  EXPECT_NEAR(zolt.boxMax[0], 20.0f * 0.65f, 1e-4f);
  EXPECT_NEAR(qz5.boxMax[0], 20.0f, 1e-4f);
  lib3ds_file_free(file);
}

TEST(LatticeMesh, BuildingConsumesThreeUnusedDrawsPerControlPointAndKey) {
  Lib3dsFile* file = boxFile();
  zolt::seedRandom(1);
  for (int i = 0; i < 4 * 64 * 3; ++i) zolt::random();
  const int after = zolt::random();
  zolt::seedRandom(1);
  LatticeMesh mesh(file, "t-rov.3ds");
  EXPECT_EQ(zolt::random(), after);
  zolt::seedRandom(1);
  lib3ds_file_free(file);
}

TEST(LatticeMesh, MissingMeshOrFlatAxisStaysFiniteAndDrawsNothing) {
  if (!testsupport::ensureGlContext()) GTEST_SKIP() << "no OpenGL context";
  scenetest::orthoView(100.0f);
  Lib3dsFile* other = boxFile("Text02");
  LatticeMesh empty(other, "t-rov.3ds");
  EXPECT_EQ(empty.faceCount, 0);
  empty.update(1.5f);
  EXPECT_TRUE(feedbackLines([&] { empty.render(0.0f); }).empty());
  lib3ds_file_free(other);

  Lib3dsFile* flat = boxFile("Text01", 0.0f);
  LatticeMesh mesh(flat, "t-rov.3ds");
  mesh.update(1.5f);
  for (float v : mesh.positions) EXPECT_TRUE(std::isfinite(v));
  EXPECT_FALSE(feedbackLines([&] { mesh.render(0.0f); }).empty());
  lib3ds_file_free(flat);
}

TEST(LatticeMesh, GroundGrowsFromTheFootprintToTheRuledSquare) {
  if (!testsupport::ensureGlContext()) GTEST_SKIP() << "no OpenGL context";
  glDisable(GL_CULL_FACE);
  // Looking down on the ground plane: window x follows world x, y follows z.
  glViewport(0, 0, 640, 480);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-400.0, 400.0, -400.0, 400.0, -1000.0, 1000.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
  glTranslatef(0.0f, 0.0f, -150.0f);

  Lib3dsFile* file = boxFile();
  LatticeMesh mesh(file, "zolt.3ds");
  mesh.update(0.0f);
  const auto all = feedbackLines([&] { mesh.render(0.0f); });
  ASSERT_EQ(all.size(), 36u + 4u);  // the triangles, then the footprint's loop
  const std::vector<scenetest::Segment> footprint(all.end() - 4, all.end());

  const auto start = feedbackLines([&] { mesh.drawGround(0.0f); });
  ASSERT_EQ(start.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_NEAR(start[i].x0, footprint[i].x0, 0.5f);
    EXPECT_NEAR(start[i].y0, footprint[i].y0, 0.5f);
  }

  auto lengthOf = [](const scenetest::Segment& s) { return std::hypot(s.x1 - s.x0, s.y1 - s.y0); };
  // At 1 the square's outline (320 units = 256 pixels a side) and rulings of no length.
  const auto square = feedbackLines([&] { mesh.drawGround(1.0f); });
  ASSERT_EQ(square.size(), 4u + 63u);
  EXPECT_NEAR(lengthOf(square[0]), 256.0f, 1.0f);
  EXPECT_NEAR(lengthOf(square[4]), 0.0f, 0.5f);
  // At 2 every ruling along z at full length, none along x yet.
  const auto alongZ = feedbackLines([&] { mesh.drawGround(2.0f); });
  ASSERT_EQ(alongZ.size(), 4u + 63u);
  EXPECT_NEAR(lengthOf(alongZ[66]), 192.0f, 1.0f);  // z spans 480 pixels for 800 units
  // Half way through the second family, at 3.5 the full grid.
  const auto half = feedbackLines([&] { mesh.drawGround(2.5f); });
  ASSERT_EQ(half.size(), 4u + 126u);
  EXPECT_NEAR(lengthOf(half[100]), 128.0f, 1.0f);
  const auto full = feedbackLines([&] { mesh.drawGround(3.5f); });
  ASSERT_EQ(full.size(), 4u + 126u);
  EXPECT_NEAR(lengthOf(full[129]), 256.0f, 1.0f);
  EXPECT_TRUE(feedbackLines([&] { mesh.drawGround(-0.5f); }).empty());
  lib3ds_file_free(file);
}
