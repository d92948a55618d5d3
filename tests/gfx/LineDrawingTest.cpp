// Line drawing: glow widths per output size, mesh edges as segments, wire
// triangles, display-list handles, and the additive frame with its fog, all
// drawn on the real driver.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "gfx/DisplayList.h"
#include "gfx/LineDrawing.h"
#include "support/GlTestContext.h"
#include "tests/support/LineFixtures.h"

using scenetest::feedbackLines;
using scenetest::orthoView;

namespace {

struct Rgb {
  float r, g, b;
};

Rgb pixelAt(int x, int y) {
  float rgba[4];
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_FLOAT, rgba);
  return {rgba[0], rgba[1], rgba[2]};
}

void quadAt(float z) {
  glBegin(GL_QUADS);
  glVertex3f(-1.0f, -1.0f, z);
  glVertex3f(1.0f, -1.0f, z);
  glVertex3f(1.0f, 1.0f, z);
  glVertex3f(-1.0f, 1.0f, z);
  glEnd();
}

class LineDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testsupport::ensureGlContext()) GTEST_SKIP() << "no OpenGL context";
    orthoView(10.0f);
    glDisable(GL_FOG);
    glDisable(GL_BLEND);
  }
  void TearDown() override {
    glDisable(GL_FOG);
    glDisable(GL_BLEND);
  }
};

}  // namespace

TEST(GlowWidth, ScalesFromThe640PixelReferenceInWholePixels) {
  const int passes[4] = {8, 4, 2, 1};
  const float at640[4] = {8, 4, 2, 1};
  const float at800[4] = {10, 5, 2, 1};
  const float at1024[4] = {12, 6, 3, 1};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(glowWidth(640, passes[i]), at640[i]);
    EXPECT_EQ(glowWidth(800, passes[i]), at800[i]);
    EXPECT_EQ(glowWidth(1024, passes[i]), at1024[i]);
  }
  EXPECT_EQ(glowWidth(320, 1), 0.0f);
  EXPECT_EQ(glowWidth(320, 8), 4.0f);
}

TEST_F(LineDrawing, LineWidthNeverFallsBelowOnePixel) {
  setLineWidth(6.0f);
  setLineWidth(glowWidth(320, 1));
  GLfloat width = 0.0f;
  glGetFloatv(GL_LINE_WIDTH, &width);
  EXPECT_EQ(width, 1.0f);
}

TEST_F(LineDrawing, OneTriangleCompilesToThreeSegmentsInTheMeshsOwnSpace) {
  Lib3dsFile* file = lib3ds_file_new();
  Lib3dsMatrix moved;
  scenetest::translation(moved, 5.0f, 0.0f, 0.0f);
  // Stored in world space: the mesh's own points are (0,0), (2,0), (0,2).
  scenetest::addMesh(file, "Text01", {{5, 0, 0}, {7, 0, 0}, {5, 2, 0}}, {{0, 1, 2}}, moved);

  DisplayList list;
  list.begin();
  compileMeshLines(file, "Text01");
  list.end();
  const auto lines = feedbackLines([&] { list.draw(); });
  ASSERT_EQ(lines.size(), 3u);
  // Window x of mesh x = 0 is the viewport's middle (320); x = 2 is 384.
  EXPECT_NEAR(lines[0].x0, 320.0f, 0.5f);
  EXPECT_NEAR(lines[0].x1, 384.0f, 0.5f);
  EXPECT_NEAR(lines[1].x0, 384.0f, 0.5f);
  EXPECT_NEAR(lines[2].x1, 320.0f, 0.5f);
  lib3ds_file_free(file);
}

TEST_F(LineDrawing, ClosedMeshDrawsEveryEdgeOfEveryFaceSharedEdgesTwice) {
  Lib3dsFile* file = lib3ds_file_new();
  Lib3dsMatrix identity;
  lib3ds_matrix_identity(identity);
  // A tetrahedron: 4 faces, 6 distinct edges, each shared by two faces.
  scenetest::addMesh(file, "Text02", {{0, 0, 0}, {3, 0, 0}, {0, 3, 0}, {0, 0, 3}},
                     {{0, 1, 2}, {0, 1, 3}, {1, 2, 3}, {0, 2, 3}}, identity);
  DisplayList list;
  list.begin();
  compileMeshLines(file, "Text02");
  list.end();
  EXPECT_EQ(feedbackLines([&] { list.draw(); }).size(), 12u);

  // Wire triangles of the same faces outline the same twelve edges.
  const float positions[] = {0, 0, 0, 3, 0, 0, 0, 3, 0, 0, 0, 3};
  const uint32_t indices[] = {0, 1, 2, 0, 1, 3, 1, 2, 3, 0, 2, 3};
  glDisable(GL_CULL_FACE);
  EXPECT_EQ(feedbackLines([&] { drawWireTriangles(positions, indices, 1); }).size(), 3u);
  EXPECT_EQ(feedbackLines([&] { drawWireTriangles(positions, indices, 4); }).size(), 12u);
  GLint modes[2];
  glGetIntegerv(GL_POLYGON_MODE, modes);
  EXPECT_EQ(modes[0], GL_FILL);  // filled polygons again afterwards
  lib3ds_file_free(file);
}

TEST_F(LineDrawing, LineRunsDrawEverySegmentOfAnArrayOnceAndInOrder) {
  // Several runs and a part run; point k sits at window height k / 4.
  const int points = 3 * kLineRunPoints + 178;
  std::vector<float> xyz;
  for (int k = 0; k < points; ++k) xyz.insert(xyz.end(), {k % 2 ? 9.0f : -9.0f, float(k) / 96.0f - 10.0f, 0.0f});
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, xyz.data());
  // From point 1, so the last point is left alone and dropped; then indexed,
  // every segment backwards and the last one first.
  const auto runs = feedbackLines([&] { drawLineRuns(1, points - 1); });
  std::vector<GLuint> indices;
  for (int i = points / 2 - 1; i >= 0; --i) indices.insert(indices.end(), {GLuint(2 * i + 1), GLuint(2 * i)});
  const auto indexed = feedbackLines([&] { drawIndexedLineRuns(indices.data(), int(indices.size())); });
  glDisableClientState(GL_VERTEX_ARRAY);
  ASSERT_EQ(runs.size(), size_t(points / 2 - 1));
  ASSERT_EQ(indexed.size(), size_t(points / 2));
  for (size_t i = 0; i < runs.size(); ++i) ASSERT_NEAR(runs[i].y0 * 4.0f, float(2 * i + 1), 0.05f) << i;
  for (size_t j = 0; j < indexed.size(); ++j) ASSERT_NEAR(indexed[j].y1 * 4.0f, float(points - 2 - 2 * j), 0.05f) << j;
}

TEST_F(LineDrawing, AbsentMeshAndUncompiledListDrawNothing) {
  Lib3dsFile* file = lib3ds_file_new();
  DisplayList compiled;
  compiled.begin();
  compileMeshLines(file, "Text01");
  compileMeshLines(nullptr, "Text01");
  compiled.end();
  EXPECT_TRUE(feedbackLines([&] { compiled.draw(); }).empty());
  DisplayList never;
  EXPECT_TRUE(feedbackLines([&] { never.draw(); }).empty());
  EXPECT_FALSE(never.created);

  const GLuint name = compiled.list;
  EXPECT_TRUE(glIsList(name));
  compiled.destroy();
  EXPECT_FALSE(glIsList(name));
  EXPECT_FALSE(compiled.created);
  lib3ds_file_free(file);
}

TEST_F(LineDrawing, AdditiveFrameAddsOverlapsAndIgnoresDepth) {
  glClearColor(0.5f, 0.0f, 0.0f, 0.0f);
  glEnable(GL_DEPTH_TEST);
  beginAdditiveFrame();
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  // Two passes of green at alpha 0.25 add up to half green.
  glColor4f(0.0f, 1.0f, 0.0f, 0.25f);
  quadAt(0.0f);
  quadAt(0.5f);
  const Rgb centre = pixelAt(320, 240);
  EXPECT_NEAR(centre.r, 0.5f, 0.01f);   // the clear colour stays under the sum
  EXPECT_NEAR(centre.g, 0.5f, 0.01f);
}

TEST_F(LineDrawing, LinearFogFadesFarGeometryToBlack) {
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(-0.1, 0.1, -0.075, 0.075, 0.1, 5000.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  beginAdditiveFrame();
  linearFog(150.0f, 400.0f);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  glPushMatrix();
  glScalef(100.0f, 100.0f, 1.0f);
  quadAt(-100.0f);  // nearer than the fog's start: full white
  glPopMatrix();
  const float nearWhite = pixelAt(320, 240).g;
  beginAdditiveFrame();
  glPushMatrix();
  glScalef(1000.0f, 1000.0f, 1.0f);
  quadAt(-500.0f);  // beyond the fog's end: black
  glPopMatrix();
  const float farWhite = pixelAt(320, 240).g;
  beginAdditiveFrame();
  glPushMatrix();
  glScalef(1000.0f, 1000.0f, 1.0f);
  quadAt(-275.0f);  // half way
  glPopMatrix();
  const float halfWay = pixelAt(320, 240).g;
  EXPECT_NEAR(nearWhite, 1.0f, 0.01f);
  EXPECT_NEAR(farWhite, 0.0f, 0.01f);
  EXPECT_NEAR(halfWay, 0.5f, 0.05f);
}

// The cull rule of figures swallowed by the fog: only when every corner is at
// or past the end, only for black fog under additive blending, and what it
// skips really adds nothing (a quad exactly at the end draws pure black).
TEST_F(LineDrawing, BeyondFogOnlyWhereTheFogLeavesExactlyNothingToAdd) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(-0.1, 0.1, -0.075, 0.075, 0.1, 5000.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(0.0f, 0.0f, -100.0f);  // the box is read in modelview space
  beginAdditiveFrame();
  linearFog(150.0f, 400.0f);
  const float low[3] = {-50.0f, -50.0f, -400.0f}, high[3] = {50.0f, 50.0f, -300.0f};
  const float nearer[3] = {50.0f, 50.0f, -299.0f};
  EXPECT_TRUE(beyondFog(low, high));
  EXPECT_FALSE(beyondFog(low, nearer));

  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  glPushMatrix();
  glScalef(1000.0f, 1000.0f, 1.0f);
  quadAt(-300.0f);
  glPopMatrix();
  float rgba[4];
  glReadPixels(320, 240, 1, 1, GL_RGBA, GL_FLOAT, rgba);
  EXPECT_EQ(rgba[0] + rgba[1] + rgba[2], 0.0f);

  const float grey[4] = {0.1f, 0.1f, 0.1f, 1.0f}, black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  glFogfv(GL_FOG_COLOR, grey);
  EXPECT_FALSE(beyondFog(low, high));
  glFogfv(GL_FOG_COLOR, black);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  EXPECT_FALSE(beyondFog(low, high));
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glFogi(GL_FOG_MODE, GL_EXP);
  EXPECT_FALSE(beyondFog(low, high));
  glFogi(GL_FOG_MODE, GL_LINEAR);
  glDisable(GL_FOG);
  EXPECT_FALSE(beyondFog(low, high));
}
