// The offset map's arithmetic, the strip-grid and fragment-program
// distortions read back from the real driver, the path choice, and the
// NVIDIA path's texture-shader program as the parser turns it into calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "gfx/DistortionPath.h"
#include "gfx/NvParse.h"
#include "gfx/OffsetMap.h"
#include "gfx/Random.h"
#include "gfx/ScreenDistortion.h"
#include "gfx/ScreenQuad.h"
#include "shaderparse/RecordingSink.h"
#include "support/GlTestContext.h"

namespace {

std::unique_ptr<OffsetMap> updatedMap(float fade, float scaleX, float scaleY, float t) {
  auto map = std::make_unique<OffsetMap>(128, 128, false);
  map->fade = fade;
  map->scaleX = scaleX;
  map->scaleY = scaleY;
  zolt::seedRandom(1);
  map->update(t);
  return map;
}

// A map whose every texel holds the same offset, in pixels.
class ConstantOffsets : public OffsetMap {
 public:
  ConstantOffsets(float ds, float dt, DistortionPath path = DistortionPath::Grid)
      : OffsetMap(128, 128, path), ds(ds), dt(dt) {}
  void update(float) override {
    for (size_t i = 0; i < offsets.size(); i += 2) {
      offsets[i] = ds;
      offsets[i + 1] = dt;
    }
    upload();
  }
  float ds, dt;
};

class ScreenDistortionGl : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testsupport::ensureGlContext()) GTEST_SKIP() << "no OpenGL context";
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_FOG);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_RECTANGLE_NV);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  }

  // Fills the lower-left width x height with a pattern that tells pixels
  // apart: red = x, green = y (low bytes), blue = their high bits.
  static std::vector<unsigned char> drawPattern(int width, int height) {
    std::vector<unsigned char> rgb(size_t(width * height * 3));
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        unsigned char* p = &rgb[size_t((y * width + x) * 3)];
        p[0] = static_cast<unsigned char>(x & 255);
        p[1] = static_cast<unsigned char>(y & 255);
        p[2] = static_cast<unsigned char>(((x >> 8) << 4) | (y >> 8));
      }
    }
    glViewport(0, 0, width, height);
    setScreenOrtho(0.0, width, 0.0, height);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glRasterPos2i(0, 0);
    glDrawPixels(width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
  }

  static std::vector<unsigned char> readFrame(int width, int height) {
    std::vector<unsigned char> rgb(size_t(width * height * 3));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
  }

  static int largestDifference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    int worst = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) worst = std::max(worst, std::abs(int(a[i]) - int(b[i])));
    return worst;
  }
};

}  // namespace

TEST(OffsetMapUpdate, FadeOneLeavesEveryOffsetZero) {
  for (float t : {0.0f, 0.7f, 13.25f}) {
    const auto map = updatedMap(1.0f, 640.0f, 480.0f, t);
    for (float offset : map->offsets) ASSERT_EQ(offset, 0.0f) << "t = " << t;
  }
}

TEST(OffsetMapUpdate, OffsetsFollowTimeFadeAndScale) {
  const auto map = updatedMap(0.0f, 1.0f, 1.0f, 0.0f);
  const OffsetMap& plain = *map;
  // First texel at t = 0: jitter from the first draw (41), radius from gy = -1.
  EXPECT_NEAR(plain.offsets[0], 1.24635f, 1e-4f);
  EXPECT_NEAR(plain.offsets[1], 5.67603f, 1e-4f);
  // Never negative while the amplitude is positive; no horizontal offset
  // in the last column of any row.
  for (int row = 0; row < 128; ++row) {
    EXPECT_EQ(plain.offsetAt(row * 128 + 127, 0), 0.0f) << "row " << row;
    EXPECT_GT(plain.offsetAt(row * 128 + 126, 0), 0.0f) << "row " << row;
  }
  for (float offset : plain.offsets) ASSERT_GE(offset, 0.0f);
  EXPECT_EQ(plain.offsetAt(128 * 128, 0), 0.0f);  // past the end

  const auto scaledMap = updatedMap(0.75f, 640.0f, 480.0f, 0.0f);
  const OffsetMap& scaled = *scaledMap;
  for (size_t i = 0; i < plain.offsets.size(); i += 2) {
    ASSERT_NEAR(scaled.offsets[i], plain.offsets[i] * 0.25f * 640.0f, 1e-2f);
    ASSERT_NEAR(scaled.offsets[i + 1], plain.offsets[i + 1] * 0.25f * 480.0f, 1e-2f);
  }
}

TEST(OffsetMapUpdate, DrawsOnceFromTheSharedGenerator) {
  zolt::seedRandom(1);
  zolt::random();
  const int second = zolt::random();
  OffsetMap map(8, 8, false);
  zolt::seedRandom(1);
  map.update(1.0f);
  EXPECT_EQ(zolt::random(), second);
}

TEST_F(ScreenDistortionGl, FadeOneGivesTheFrameBackUnchanged) {
  const std::vector<unsigned char> before = drawPattern(640, 480);
  ScreenDistortion distortion(640, 480, false);
  ASSERT_TRUE(distortion.rectangle);
  distortion.offsetMap.reset(new OffsetMap(128, 128, false));
  distortion.offsetMap->scaleX = 640.0f;
  distortion.offsetMap->scaleY = 480.0f;
  distortion.render(3.0f);
  EXPECT_LE(largestDifference(readFrame(640, 480), before), 1);

  // A lowered fade displaces the picture.
  drawPattern(640, 480);
  distortion.offsetMap->fade = 0.9f;
  distortion.render(3.0f);
  EXPECT_GT(largestDifference(readFrame(640, 480), before), 1);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ScreenDistortionGl, SquareFrameTextureReadsPixelOffsetsToo) {
  // 256 x 256 is a 2D texture: its coordinates are fractions, not pixels.
  const std::vector<unsigned char> before = drawPattern(256, 256);
  ScreenDistortion distortion(256, 256, false);
  ASSERT_FALSE(distortion.rectangle);
  distortion.offsetMap.reset(new ConstantOffsets(0.0f, 0.0f));
  distortion.render(0.0f);
  EXPECT_LE(largestDifference(readFrame(256, 256), before), 1);

  drawPattern(256, 256);
  distortion.offsetMap.reset(new ConstantOffsets(4.0f, 2.0f));
  distortion.render(0.0f);
  const std::vector<unsigned char> after = readFrame(256, 256);
  const size_t at = size_t((100 * 256 + 50) * 3);
  EXPECT_EQ(after[at], 54);
  EXPECT_EQ(after[at + 1], 102);
}

TEST_F(ScreenDistortionGl, KnownOffsetMovesKnownPixels) {
  const std::vector<unsigned char> before = drawPattern(640, 480);
  ScreenDistortion distortion(640, 480, false);
  distortion.offsetMap.reset(new ConstantOffsets(5.0f, 3.0f));
  distortion.render(0.0f);
  const std::vector<unsigned char> after = readFrame(640, 480);
  // Below the grid's top row every pixel shows the one 5 right and 3 up.
  for (int y : {0, 37, 200, 470}) {
    for (int x : {0, 100, 321, 600}) {
      const size_t out = size_t((y * 640 + x) * 3);
      const size_t in = size_t(((y + 3) * 640 + x + 5) * 3);
      EXPECT_EQ(after[out], before[in]) << x << "," << y;
      EXPECT_EQ(after[out + 1], before[in + 1]) << x << "," << y;
      EXPECT_EQ(after[out + 2], before[in + 2]) << x << "," << y;
    }
  }
}

TEST_F(ScreenDistortionGl, NvidiaProgramIsTheOffsetTextureShader) {
  const std::vector<std::string> common = {
      "glActiveTextureARB(GL_TEXTURE0_ARB)",
      "glTexEnvi(GL_TEXTURE_SHADER_NV, GL_SHADER_OPERATION_NV, GL_TEXTURE_2D)",
      "glActiveTextureARB(GL_TEXTURE1_ARB)",
      "",  // the offset operation
      "glTexEnvi(GL_TEXTURE_SHADER_NV, GL_PREVIOUS_TEXTURE_INPUT_NV, GL_TEXTURE0_ARB)",
      "glTexEnvfv(GL_TEXTURE_SHADER_NV, GL_OFFSET_TEXTURE_MATRIX_NV, {1, 0, 0, 1})",
      "glActiveTextureARB(GL_TEXTURE2_ARB)",
      "glTexEnvi(GL_TEXTURE_SHADER_NV, GL_SHADER_OPERATION_NV, GL_NONE)",
      "glActiveTextureARB(GL_TEXTURE3_ARB)",
      "glTexEnvi(GL_TEXTURE_SHADER_NV, GL_SHADER_OPERATION_NV, GL_NONE)",
      "glActiveTextureARB(GL_TEXTURE0_ARB)",
  };
  struct Case {
    int width, height;
    const char* operation;
  };
  for (const Case& c : {Case{640, 480, "GL_OFFSET_TEXTURE_RECTANGLE_NV"}, Case{1280, 960, "GL_OFFSET_TEXTURE_RECTANGLE_NV"},
                        Case{256, 256, "GL_OFFSET_TEXTURE_2D_NV"}}) {
    ScreenDistortion distortion(c.width, c.height, false);
    EXPECT_FALSE(distortion.program.created);  // only the NVIDIA path compiles it
    shaderparse::RecordingSink sink;
    distortion.compileProgram(&sink);
    EXPECT_TRUE(distortion.program.created);
    std::vector<std::string> expected = common;
    expected[3] = std::string("glTexEnvi(GL_TEXTURE_SHADER_NV, GL_SHADER_OPERATION_NV, ") + c.operation + ")";
    EXPECT_EQ(sink.calls, expected) << c.width << "x" << c.height;
    EXPECT_EQ(distortion.offsetMatrix[0], float(c.width));
    EXPECT_EQ(distortion.offsetMatrix[3], float(c.height));
  }
}

TEST(DistortionPathChoice, VendorThenFragmentProgramThenGridWithTheOverride) {
  EXPECT_EQ(chooseDistortionPath(true, true, nullptr), DistortionPath::TextureShaders);
  EXPECT_EQ(chooseDistortionPath(true, true, "arb"), DistortionPath::FragmentProgram);
  EXPECT_EQ(chooseDistortionPath(true, true, "grid"), DistortionPath::Grid);
  EXPECT_EQ(chooseDistortionPath(false, true, nullptr), DistortionPath::FragmentProgram);
  EXPECT_EQ(chooseDistortionPath(false, true, "nv"), DistortionPath::FragmentProgram);
  EXPECT_EQ(chooseDistortionPath(false, true, "grid"), DistortionPath::Grid);
  EXPECT_EQ(chooseDistortionPath(false, false, "arb"), DistortionPath::Grid);
  EXPECT_STREQ(distortionPathName(DistortionPath::FragmentProgram), "fragment program");
}

TEST_F(ScreenDistortionGl, FragmentProgramMovesTheSamePixelsAsTheGrid) {
  if (!nvparseHasExtension("GL_ARB_fragment_program")) GTEST_SKIP() << "no fragment programs here";
  struct Case {
    int width, height;
    float ds, dt;
  };
  // A rectangle frame takes the offsets as texels, a 2D one as fractions.
  for (const Case& c : {Case{640, 480, 5.0f, 3.0f}, Case{640, 480, -7.0f, -2.0f}, Case{256, 256, 4.0f, -6.0f}}) {
    drawPattern(c.width, c.height);
    ScreenDistortion grid(c.width, c.height, DistortionPath::Grid);
    grid.offsetMap.reset(new ConstantOffsets(c.ds, c.dt));
    grid.render(0.0f);
    const std::vector<unsigned char> expected = readFrame(c.width, c.height);

    drawPattern(c.width, c.height);
    ScreenDistortion program(c.width, c.height, DistortionPath::FragmentProgram);
    ASSERT_EQ(program.path, DistortionPath::FragmentProgram) << program.fragmentProgram.arbText;
    program.offsetMap.reset(new ConstantOffsets(c.ds, c.dt, DistortionPath::FragmentProgram));
    program.render(0.0f);
    const std::vector<unsigned char> got = readFrame(c.width, c.height);
    // Away from the grid's top rows and last column, whose corners read past
    // the map (no offset) where the quad's filtered read wraps.
    int worst = 0;
    for (int y = 0; y < c.height - 2 * c.height / 128 - 2; ++y)
      for (int x = 0; x < c.width - 2 * c.width / 128 - 2; ++x)
        for (int k = 0; k < 3; ++k) {
          const size_t at = size_t((y * c.width + x) * 3 + k);
          worst = std::max(worst, std::abs(int(got[at]) - int(expected[at])));
        }
    EXPECT_LE(worst, 1)
        << c.width << "x" << c.height << " offset " << c.ds << "," << c.dt;
  }
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
