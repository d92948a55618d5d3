// The gallery's panels drawn for real: a picture loaded top row first
// stands upright, a capture (bottom row first) too; with the map's fade at
// 1 the displaced drawing is the plain one, lower fades move the picture,
// and the fragment program moves it as the grid does; the outline is green
// around the square.
#include <gtest/gtest.h>

#include <vector>

#include "gfx/GlExtensions.h"
#include "gfx/NvParse.h"
#include "gfx/OffsetMap.h"
#include "gfx/OffsetProgram.h"
#include "gfx/ScreenDistortion.h"
#include "scenes/finale/PanelDrawing.h"
#include "support/GlTestContext.h"

namespace {

const int kW = 640, kH = 480;

class PanelFrames : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testsupport::ensureGlContext(kW, kH)) GTEST_SKIP() << "no OpenGL context";
    glViewport(0, 0, kW, kH);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
    // A 640 x 480 rectangle texture whose first rows are red, the rest blue.
    std::vector<unsigned char> rgb(size_t(kW) * kH * 3, 0);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) rgb[(size_t(y) * kW + x) * 3 + (y < kH / 2 ? 0 : 2)] = 255;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_RECTANGLE_NV, texture);
    glTexParameteri(GL_TEXTURE_RECTANGLE_NV, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_RECTANGLE_NV, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_RECTANGLE_NV, 0, GL_RGB, kW, kH, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    picture.target = GL_TEXTURE_RECTANGLE_NV;
    picture.texture = texture;
    picture.extent = finale::panelTexelExtent(finale::kEndPanel, true, kW, kH);
  }
  void TearDown() override {
    if (texture) glDeleteTextures(1, &texture);
  }
  static std::vector<unsigned char> readFrame() {
    std::vector<unsigned char> rgb(size_t(kW) * kH * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kW, kH, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
  }
  // Pixel (x, y) counted from the bottom, as GL reads it.
  static const unsigned char* at(const std::vector<unsigned char>& rgb, int x, int y) {
    return &rgb[(size_t(y) * kW + x) * 3];
  }

  GLuint texture = 0;
  PanelPicture picture;
};

TEST_F(PanelFrames, PicturesLoadedTopRowFirstStandUpright) {
  picture.topRowFirst = true;
  drawPlainPanel(picture);
  auto rgb = readFrame();
  EXPECT_GT(at(rgb, 320, 400)[0], 200) << "the picture's first rows at the top";
  EXPECT_GT(at(rgb, 320, 80)[2], 200);
  // A frame copy holds its bottom row first: the same texture then reads
  // the other way up.
  picture.topRowFirst = false;
  drawPlainPanel(picture);
  rgb = readFrame();
  EXPECT_GT(at(rgb, 320, 400)[2], 200);
  EXPECT_GT(at(rgb, 320, 80)[0], 200);
}

TEST_F(PanelFrames, DisplacementAtFullFadeIsThePlainPictureLowerFadesMoveIt) {
  picture.topRowFirst = true;
  drawPlainPanel(picture);
  const auto plain = readFrame();

  OffsetMap map(128, 128, false);
  map.scaleX = float(kW);
  map.scaleY = float(kH);
  map.fade = 1.0f;
  map.update(3.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  drawDisplacedPanel(picture, &map);
  const auto steady = readFrame();
  long differing = 0;
  for (size_t i = 0; i < plain.size(); ++i) differing += plain[i] != steady[i];
  EXPECT_LT(differing, long(plain.size() / 200)) << "fade 1: no displacement";

  map.fade = 0.5f;
  map.update(3.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  drawDisplacedPanel(picture, &map);
  const auto moved = readFrame();
  differing = 0;
  for (size_t i = 0; i < plain.size(); ++i) differing += plain[i] != moved[i];
  EXPECT_GT(differing, long(plain.size() / 50)) << "fade 0.5 moves the picture";
}

TEST_F(PanelFrames, FragmentProgramMovesThePictureAsTheGridDoes) {
  if (!nvparseHasExtension("GL_ARB_fragment_program")) GTEST_SKIP() << "no fragment programs here";
  OffsetProgram program;
  ASSERT_TRUE(program.load(ScreenDistortion::programText(true)));
  OffsetMap map(128, 128, DistortionPath::FragmentProgram);
  map.scaleX = float(kW);
  map.scaleY = float(kH);
  for (size_t i = 0; i < map.offsets.size(); i += 2) {
    map.offsets[i] = 6.0f;
    map.offsets[i + 1] = 48.0f;
  }
  map.upload();
  for (bool topRowFirst : {true, false}) {
    picture.topRowFirst = topRowFirst;
    glClear(GL_COLOR_BUFFER_BIT);
    drawDisplacedPanel(picture, &map);
    const auto grid = readFrame();
    glClear(GL_COLOR_BUFFER_BIT);
    drawDisplacedPanelProgram(picture, map, program);
    const auto perPixel = readFrame();
    // Below the grid's top row and left of its last column, which read past the map.
    long differing = 0;
    for (int y = 0; y < kH - 8; ++y)
      for (int x = 0; x < kW - 10; ++x) differing += at(grid, x, y)[0] != at(perPixel, x, y)[0];
    EXPECT_LT(differing, long(kW * kH / 500)) << "top row first: " << topRowFirst;
  }
}

TEST_F(PanelFrames, OutlineIsGreenAroundTheSquare) {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glPushMatrix();
  glScalef(0.5f, 0.5f, 1.0f);
  drawPanelOutline(kW);
  glPopMatrix();
  glDisable(GL_BLEND);
  const auto rgb = readFrame();
  // The square's left edge at x = 160, its top at y = 360; the middle stays dark.
  EXPECT_GT(at(rgb, 160, 240)[1], 100);
  EXPECT_EQ(at(rgb, 160, 240)[0], 0);
  EXPECT_GT(at(rgb, 320, 360)[1], 100);
  EXPECT_EQ(at(rgb, 320, 240)[1], 0);
}

}  // namespace
