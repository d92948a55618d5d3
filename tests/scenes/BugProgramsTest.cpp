// The archive's two creature programs draw the same arcs: bugati.vpc loaded
// as ARB text, and bug.vpc through the parser's NV-to-ARB translation with
// its tracked matrix and constants, must give identical pixels.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gfx/NvParse.h"
#include "gfx/Random.h"
#include "scenes/effects/Terrain.h"
#include "scenes/swarm/Bug.h"
#include "scenes/swarm/SwarmCamera.h"
#include "support/GlTestContext.h"

namespace {

constexpr int kSize = 160;

std::string programText(const char* name) {
  std::ifstream in(std::string(ZOLT_SOURCE_DIR) + "/content/programs/" + name);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class BugPrograms : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testsupport::ensureGlContext()) GTEST_SKIP() << "no OpenGL context";
    if (!nvparseHasExtension("GL_ARB_vertex_program")) GTEST_SKIP() << "no ARB vertex programs";
    if (nvparseHasExtension("GL_NV_vertex_program")) GTEST_SKIP() << "the driver runs NV texts itself";
    glGenProgramsARB(1, &program_);
    zolt::seedRandom(1);
    terrain_ = new Terrain(false);
    jitter_.build();
    for (int i = 0; i < 12; ++i) bugs_.emplace_back(terrain_, &jitter_);
    for (Bug& bug : bugs_) {
      bug.placeLegs();
      bug.walk(8.5f);
    }
  }
  void TearDown() override {
    if (program_ != 0) glDeleteProgramsARB(1, &program_);
    nvparseTrackMatrix(0, GL_NONE, GL_IDENTITY_NV);
    delete terrain_;
  }

  std::vector<unsigned char> draw() {
    glViewport(0, 0, kSize, kSize);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-18, 18, -18, 18, -100, 100);
    glMatrixMode(GL_MODELVIEW);
    // From above, the swarm's start area in view.
    float view[16];
    viewMatrix(lookAlong(Vec3(0, 20, -40), Vec3(0, -1, 0.01f), Vec3(0, 0, 1)), view);
    glLoadMatrixf(view);
    glEnable(GL_VERTEX_PROGRAM_ARB);
    glBindProgramARB(GL_VERTEX_PROGRAM_ARB, program_);
    glColor4f(0.0625f, 1.0f, 0.0625f, 0.8f);
    jitter_.index = 0;
    for (Bug& bug : bugs_) {
      for (int width = 1; width <= 2; ++width) {
        glLineWidth(float(width));
        bug.render(0.0f);
      }
    }
    glDisable(GL_VERTEX_PROGRAM_ARB);
    glLineWidth(1.0f);
    std::vector<unsigned char> pixels(kSize * kSize * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  }

  GLuint program_ = 0;
  Terrain* terrain_ = nullptr;
  BugJitter jitter_;
  std::vector<Bug> bugs_;
};

TEST_F(BugPrograms, NvTextThroughTheParserDrawsWhatTheArbTextDraws) {
  const std::string arb = programText("bugati.vpc");
  const std::string nv = programText("bug.vpc");
  ASSERT_EQ(arb.rfind("!!ARBvp1.0", 0), 0u);
  ASSERT_EQ(nv.rfind("!!VP1.0", 0), 0u);

  glBindProgramARB(GL_VERTEX_PROGRAM_ARB, program_);
  glProgramStringARB(GL_VERTEX_PROGRAM_ARB, GL_PROGRAM_FORMAT_ASCII_ARB, GLsizei(arb.size()), arb.c_str());
  GLint errorAt = 0;
  glGetIntegerv(GL_PROGRAM_ERROR_POSITION_ARB, &errorAt);
  ASSERT_EQ(errorAt, -1) << glGetString(GL_PROGRAM_ERROR_STRING_ARB);
  const auto expected = draw();

  // As the NVIDIA path sets it up: the tracked matrix and c[8].
  nvparseTrackMatrix(0, GL_MODELVIEW_PROJECTION_NV, GL_IDENTITY_NV);
  ASSERT_TRUE(nvparse("!!VCP1.0\nc[8] = (0, 1, 3, 5);\nEND\n"));
  glBindProgramARB(GL_VERTEX_PROGRAM_ARB, program_);
  const bool loaded = nvparse(nv.c_str());
  for (const char* const* e = nvparse_get_errors(); *e != nullptr; ++e) ADD_FAILURE() << *e;
  ASSERT_TRUE(loaded);
  const auto actual = draw();

  int green = 0, other = 0;
  for (size_t i = 0; i < expected.size(); i += 4) {
    green += expected[i + 1] > 100;
    other += expected[i] > expected[i + 1];
  }
  EXPECT_GT(green, 150) << "the arcs are drawn";
  EXPECT_EQ(other, 0) << "in the creatures' green";
  EXPECT_EQ(actual, expected);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
