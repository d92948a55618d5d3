// NV vertex-program texts on a driver without NV_vertex_program: nvparse
// translates them to ARB, and they must draw the same pixels as ARB
// programs written by hand for the same job.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "gfx/NvParse.h"
#include "support/GlTestContext.h"

namespace {

constexpr int kSize = 128;

// Arcs as the bug swarm draws them: control points in texcoords 0..3, the
// arc parameter in the position's x, jitter in the secondary colour.
const char* kBezierNv =
    "!!VP1.0\n"
    "# tracked MVP in c[0..3]; c[8] = (0, 1, 3, 5); c[9].x jitter scale\n"
    "ARL A0.x, c[8].x;\n"
    "ADD R1.x, c[8].y, -v[OPOS].x;\n"
    "MUL R2.x, R1.x, R1.x;\n"
    "MUL R2.y, v[OPOS].x, v[OPOS].x;\n"
    "MUL R3.x, R2.x, R1.x;\n"
    "MUL R3.y, R2.x, v[OPOS].x;\n"
    "MUL R3.y, R3.y, c[8].z;\n"
    "MUL R3.z, R2.y, R1.x;\n"
    "MUL R3.z, R3.z, c[8].z;\n"
    "MUL R3.w, R2.y, v[OPOS].x;\n"
    "MUL R4, v[TEX0], R3.x;\n"
    "MAD R4, v[TEX1], R3.y, R4;\n"
    "MAD R4, v[TEX2], R3.z, R4;\n"
    "MAD R4, v[TEX3], R3.w, R4;\n"
    "MAD R4.xyz, v[COL1], c[A0.x + 9].x, R4;\n"
    "MOV R4.w, c[8].y;\n"
    "DP4 o[HPOS].x, c[0], R4;\n"
    "DP4 o[HPOS].y, c[1], R4;\n"
    "DP4 o[HPOS].z, c[2], R4;\n"
    "DP4 o[HPOS].w, c[3], R4;\n"
    "MOV o[COL0], v[COL0];\n"
    "END\n";

const char* kBezierArb =
    "!!ARBvp1.0\n"
    "PARAM mvp[4] = { state.matrix.mvp };\n"
    "PARAM k = program.env[8];\n"
    "PARAM jitter = program.env[9];\n"
    "ATTRIB t = vertex.position;\n"
    "TEMP s, sq, w, p;\n"
    "ADD s.x, k.y, -t.x;\n"
    "MUL sq.x, s.x, s.x;\n"
    "MUL sq.y, t.x, t.x;\n"
    "MUL w.x, sq.x, s.x;\n"
    "MUL w.y, sq.x, t.x;\n"
    "MUL w.y, w.y, k.z;\n"
    "MUL w.z, sq.y, s.x;\n"
    "MUL w.z, w.z, k.z;\n"
    "MUL w.w, sq.y, t.x;\n"
    "MUL p, vertex.texcoord[0], w.x;\n"
    "MAD p, vertex.texcoord[1], w.y, p;\n"
    "MAD p, vertex.texcoord[2], w.z, p;\n"
    "MAD p, vertex.texcoord[3], w.w, p;\n"
    "MAD p.xyz, vertex.color.secondary, jitter.x, p;\n"
    "MOV p.w, k.y;\n"
    "DP4 result.position.x, mvp[0], p;\n"
    "DP4 result.position.y, mvp[1], p;\n"
    "DP4 result.position.z, mvp[2], p;\n"
    "DP4 result.position.w, mvp[3], p;\n"
    "MOV result.color, vertex.color;\n"
    "END\n";

// Tentacle rings: a matrix in generic attributes 8..11 (columns), then the
// tracked MVP.
const char* kRingNv =
    "!!VP1.0\n"
    "MOV R1, v[OPOS];\n"
    "MUL R0, v[8], R1.x;\n"
    "MAD R0, v[9], R1.y, R0;\n"
    "MAD R0, v[10], R1.z, R0;\n"
    "MAD R0, v[11], R1.w, R0;\n"
    "DP4 o[HPOS].x, c[0], R0;\n"
    "DP4 o[HPOS].y, c[1], R0;\n"
    "DP4 o[HPOS].z, c[2], R0;\n"
    "DP4 o[HPOS].w, c[3], R0;\n"
    "MOV o[COL0], v[COL0];\n"
    "END\n";

const char* kRingArb =
    "!!ARBvp1.0\n"
    "ATTRIB p = vertex.position;\n"
    "PARAM mvp[4] = { state.matrix.mvp };\n"
    "TEMP r;\n"
    "MUL r, vertex.attrib[8], p.x;\n"
    "MAD r, vertex.attrib[9], p.y, r;\n"
    "MAD r, vertex.attrib[10], p.z, r;\n"
    "MAD r, vertex.attrib[11], p.w, r;\n"
    "DP4 result.position.x, mvp[0], r;\n"
    "DP4 result.position.y, mvp[1], r;\n"
    "DP4 result.position.z, mvp[2], r;\n"
    "DP4 result.position.w, mvp[3], r;\n"
    "MOV result.color, vertex.color;\n"
    "END\n";

class NvParseRender : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testsupport::ensureGlContext()) GTEST_SKIP() << "no OpenGL context";
    if (!nvparseHasExtension("GL_ARB_vertex_program")) GTEST_SKIP() << "no ARB vertex programs";
    if (nvparseHasExtension("GL_NV_vertex_program")) GTEST_SKIP() << "the driver runs NV texts itself";
    glGenProgramsARB(1, &program_);
    nvparseTrackMatrix(0, GL_MODELVIEW_PROJECTION_NV, GL_IDENTITY_NV);
  }
  void TearDown() override {
    if (program_ != 0) glDeleteProgramsARB(1, &program_);
    nvparseTrackMatrix(0, GL_NONE, GL_IDENTITY_NV);
    nvparseGenericAttributes(0);
  }

  // Loads the text with nvparse (NV) or glProgramStringARB (ARB).
  bool load(const char* text, bool throughNvparse) {
    glBindProgramARB(GL_VERTEX_PROGRAM_ARB, program_);
    if (throughNvparse) {
      const bool ok = nvparse(text);
      for (const char* const* e = nvparse_get_errors(); *e != nullptr; ++e) ADD_FAILURE() << *e;
      return ok;
    }
    glProgramStringARB(GL_VERTEX_PROGRAM_ARB, GL_PROGRAM_FORMAT_ASCII_ARB, static_cast<GLsizei>(strlen(text)), text);
    GLint position = 0;
    glGetIntegerv(GL_PROGRAM_ERROR_POSITION_ARB, &position);
    return position == -1;
  }

  template <typename Draw>
  std::vector<unsigned char> render(Draw draw) {
    glViewport(0, 0, kSize, kSize);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 2, -2, 2, -5, 5);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.25f, -0.5f, 0.0f);
    glRotatef(20.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_VERTEX_PROGRAM_ARB);
    draw();
    glDisable(GL_VERTEX_PROGRAM_ARB);
    std::vector<unsigned char> pixels(kSize * kSize * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  }

  static int lit(const std::vector<unsigned char>& pixels) {
    int n = 0;
    for (size_t i = 0; i < pixels.size(); i += 4) n += pixels[i + 1] > 0;
    return n;
  }

  GLuint program_ = 0;
};

void drawArcs() {
  const float points[3][4][3] = {
      {{-1.5f, -1, 0}, {-1, 1, 0}, {1, 1, 0}, {1.5f, -1, 0}},
      {{-1, -1.5f, 0}, {-0.5f, 0.5f, 0}, {0.5f, 0.5f, 0}, {1, -1.5f, 0}},
      {{-1.5f, 0, 0}, {0, 1.5f, 0}, {0, -1.5f, 0}, {1.5f, 0, 0}},
  };
  glLineWidth(3.0f);
  glColor4f(0.0625f, 1.0f, 0.0625f, 1.0f);
  for (const auto& arc : points) {
    for (int u = 0; u < 4; ++u)
      glMultiTexCoord4fARB(GL_TEXTURE0_ARB + u, arc[u][0], arc[u][1], arc[u][2], 0.0f);
    glBegin(GL_LINE_STRIP);
    for (int k = 0; k <= 8; ++k) {
      const float j = 0.5f * std::sin(3.0f * k);
      glSecondaryColor3fEXT(j, j, j);
      const float t = k / 8.0f;
      glVertex3f(t, t, t);
    }
    glEnd();
  }
  glLineWidth(1.0f);
}

void drawRings() {
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  glBegin(GL_QUADS);
  for (int ring = 0; ring < 4; ++ring) {
    const float a = 0.4f * ring, scale = 1.0f - 0.2f * ring;
    const float c = std::cos(a) * scale, s = std::sin(a) * scale;
    const float columns[4][4] = {{c, s, 0, 0}, {-s, c, 0, 0}, {0, 0, scale, 0}, {0.3f * ring, 0, 0, 1}};
    for (int i = 0; i < 4; ++i) glVertexAttrib4fvARB(8 + i, columns[i]);
    glVertex3f(-0.5f, -0.5f, 0);
    glVertex3f(0.5f, -0.5f, 0);
    glVertex3f(0.5f, 0.1f, 0);
    glVertex3f(-0.5f, 0.1f, 0);
  }
  glEnd();
}

}  // namespace

TEST_F(NvParseRender, BezierArcsMatchTheHandWrittenArbProgram) {
  // The constant program mirrors c[8], c[9] into ARB env parameters.
  ASSERT_TRUE(nvparse("!!VCP1.0\nc[8] = (0, 1, 3, 5);\nc[9] = (0.125, 0, 0, 0);\nEND\n"));
  ASSERT_TRUE(load(kBezierArb, false));
  const auto expected = render(drawArcs);
  ASSERT_TRUE(load(kBezierNv, true));
  const auto actual = render(drawArcs);
  EXPECT_GT(lit(expected), 300);
  EXPECT_EQ(actual, expected);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(NvParseRender, RingMatricesInGenericAttributesMatchTheHandWrittenArbProgram) {
  nvparseGenericAttributes((1u << 8) | (1u << 9) | (1u << 10) | (1u << 11));
  ASSERT_TRUE(load(kRingArb, false));
  const auto expected = render(drawRings);
  ASSERT_TRUE(load(kRingNv, true));
  const auto actual = render(drawRings);
  EXPECT_GT(lit(expected), 500);
  EXPECT_EQ(actual, expected);
}

TEST_F(NvParseRender, BrokenTextLeavesTheBoundProgramAsItWas) {
  nvparseGenericAttributes((1u << 8) | (1u << 9) | (1u << 10) | (1u << 11));
  ASSERT_TRUE(load(kRingArb, false));
  const auto expected = render(drawRings);
  EXPECT_FALSE(nvparse("!!VP1.0\nMOV o[HPOS], v[0]\nEND\n"));
  EXPECT_STREQ(nvparse_get_errors()[0], "line 3: expected ';', found 'END'");
  EXPECT_EQ(render(drawRings), expected);
}
