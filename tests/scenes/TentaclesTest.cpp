// The tentacle ball: its sphere and tubes, the ring rotations, and the same
// ball drawn three ways — the ARB program, the NV program translated by the
// parser, and the CPU path — with the same silhouette.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gfx/GlExtensions.h"
#include "gfx/NvParse.h"
#include "scenes/effects/Tentacles.h"
#include "show/ResourceRegistry.h"
#include "support/GlTestContext.h"
#include "support/MessageLog.h"
#include "tools/sceneplayer/PngImage.h"

namespace {

const float kPi = 3.14159265f;

TEST(TentacleShape, SphereTubesAndWinding) {
  std::vector<Vec3> points;
  std::vector<uint32_t> triangles;
  buildGeodesicSphere(points, triangles);
  ASSERT_EQ(points.size(), 18u);
  ASSERT_EQ(triangles.size(), 32u * 3u);
  for (const Vec3& p : points) EXPECT_NEAR(p.length(), 1.0f, 1e-6f);
  for (uint32_t index : triangles) EXPECT_LT(index, 18u);

  for (int f = 0; f < 32; ++f) {
    const Tentacle tentacle(points[triangles[3 * f]], points[triangles[3 * f + 1]], points[triangles[3 * f + 2]]);
    const Vec3* p = tentacle.basePoints;
    const Vec3 centre = (p[0] + p[1] + p[2]) / 3.0f;
    // Every tube winds the same way round its outward axis.
    EXPECT_GT(dot(cross(p[1] - p[0], p[2] - p[0]), centre), 0.0f) << "face " << f;
    // The last ring is a thirtieth of the first, never a point; the tip
    // lies beyond it on the axis.
    EXPECT_NEAR((p[87] - p[88]).length() * 30.0f, (p[0] - p[1]).length(), 1e-4f);
    const Vec3 tip = p[Tentacle::pointCount - 1];
    EXPECT_NEAR(tip.length(), centre.length() * std::pow(1.06f, 30.0f), 1e-3f);
  }
  EXPECT_EQ(Tentacle::quadIndices.size(), size_t(Tentacle::quadIndexCount));
}

TEST(TentacleShape, RingRotationsAtTimeZeroAllTurnOneRadianAboutZ) {
  const Tentacle tentacle(Vec3(0, 1, 0), Vec3(0, 0, 1), Vec3(1, 0, 0));
  Tentacle moving = tentacle;
  moving.computeRingMatrices(0.0f);
  float expected[16];
  ringRotation(0.0f, 0.0f, -1.0f, expected);
  EXPECT_NEAR(expected[0], std::cos(-1.0f), 1e-6f);
  EXPECT_NEAR(expected[1], std::sin(-1.0f), 1e-6f);
  for (int i = 0; i < Tentacle::ringCount; ++i) {
    for (int k = 0; k < 16; ++k) EXPECT_NEAR(moving.ringMatrices[i][k], expected[k], 1e-6f) << i;
  }
  // Later the rings differ: the wave runs along the tube.
  moving.computeRingMatrices(0.7f);
  EXPECT_GT(std::fabs(moving.ringMatrices[0][0] - moving.ringMatrices[29][0]), 0.01f);
}

// Draws the ball from outside and returns which pixels it covers.
class TentacleBall : public ::testing::Test {
 protected:
  static constexpr int kSize = 160;

  void SetUp() override {
    ASSERT_TRUE(testsupport::ensureGlContext());
    registry.usePack = true;
  }

  void beginFrame() {
    glViewport(0, 0, kSize, kSize);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-1, 1, -1, 1, 2, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -12);
    glRotatef(30, 1, 0, 0);
    glColor4f(0, 1, 0, 1);
    Tentacle::drawQuads = true;
  }

  // Which pixels the ball covers; the frame is kept in captures/.
  std::vector<bool> coverage(const char* picture = nullptr) {
    std::vector<unsigned char> rgb(size_t(kSize) * kSize * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kSize, kSize, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    if (picture) writePng(std::string("captures/") + picture, RgbImage{kSize, kSize, rgb});
    std::vector<bool> lit(size_t(kSize) * kSize);
    for (size_t i = 0; i < lit.size(); ++i) lit[i] = rgb[i * 3 + 1] > 128;
    return lit;
  }

  static double disagreement(const std::vector<bool>& a, const std::vector<bool>& b, int* litA) {
    int differ = 0;
    *litA = 0;
    for (size_t i = 0; i < a.size(); ++i) {
      differ += a[i] != b[i];
      *litA += a[i];
    }
    return *litA ? double(differ) / *litA : 1.0;
  }

  testsupport::MessageLog messages;
  ResourceRegistry registry;
};

TEST_F(TentacleBall, ProgramTranslatedProgramAndCpuPathDrawTheSameSilhouette) {
  Tentacles ball(&registry);
  ASSERT_TRUE(Tentacles::programReady) << "tentacleATI.vpc loads from the archive";
  // At t = pi both paths' wave amplitudes vanish, so all three must agree.
  const float t = kPi;

  beginFrame();
  ball.update(t);
  ball.render(t);
  const std::vector<bool> arb = coverage("tentacles-program.png");

  beginFrame();
  ball.updateCpu(t);
  ball.drawMoved();
  const std::vector<bool> cpu = coverage("tentacles-cpu.png");

  unsigned char* nvText = registry.readFile("tentacle.vpc");
  ASSERT_NE(nvText, nullptr);
  glBindProgramARB(GL_VERTEX_PROGRAM_ARB, Tentacles::programId);
  nvparseTrackMatrix(0, GL_MODELVIEW_PROJECTION_NV, GL_IDENTITY_NV);
  nvparseGenericAttributes((1u << 8) | (1u << 9) | (1u << 10) | (1u << 11));
  const bool loaded = nvparse(reinterpret_cast<const char*>(nvText));
  delete[] nvText;
  ASSERT_TRUE(loaded) << (nvparse_get_errors()[0] ? nvparse_get_errors()[0] : "");
  beginFrame();
  ball.update(t);
  ball.render(t);
  const std::vector<bool> translated = coverage();
  nvparseGenericAttributes(0);
  nvparseTrackMatrix(0, GL_NONE, GL_IDENTITY_NV);

  int lit = 0;
  EXPECT_LT(disagreement(arb, cpu, &lit), 0.02);
  EXPECT_GT(lit, kSize * kSize / 20) << "the ball fills a good part of the frame";
  EXPECT_LT(lit, kSize * kSize * 9 / 10);
  EXPECT_LT(disagreement(arb, translated, &lit), 0.02);
  EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(TentacleBall, WithoutItsProgramTextTheBallDrawsNothingAndTheShowGoesOn) {
  // The program is shared by every ball alive at once, so this runs
  // the loader directly on a registry whose archive is missing.
  const GLuint kept = Tentacles::programId;
  const bool keptReady = Tentacles::programReady;
  Tentacles::programId = 0;
  Tentacles::programReady = false;
  ResourceRegistry empty;
  empty.usePack = true;
  empty.packName = "no-such-archive.qz5";
  {
    Tentacles ball(&empty);
    EXPECT_FALSE(Tentacles::programReady);
    beginFrame();
    ball.update(1.0f);
    ball.render(1.0f);
    int lit = 0;
    const std::vector<bool> nothing = coverage();
    for (bool pixel : nothing) lit += pixel;
    EXPECT_EQ(lit, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  }
  if (Tentacles::programId) glDeleteProgramsARB(1, &Tentacles::programId);
  Tentacles::programId = kept;
  Tentacles::programReady = keptReady;
}

}  // namespace
