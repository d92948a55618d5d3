// COverlayImage and drawScreenQuad drawn for real into the headless frame
// and read back: where the picture lands, which way up, which target.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "JpegTestSupport.h"
#include "gfx/GlExtensions.h"
#include "gfx/COverlayImage.h"
#include "gfx/ScreenQuad.h"
#include "show/ResourceRegistry.h"
#include "support/GlTestContext.h"

namespace {

// A picture split into a red top half and a blue bottom half.
void writeHalves(const std::string& name, int width, int height) {
  jpegtest::Image image;
  image.width = width;
  image.height = height;
  image.components = 3;
  image.pixels.resize(static_cast<size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &image.pixels[(static_cast<size_t>(y) * width + x) * 3];
      p[0] = y < height / 2 ? 255 : 0;
      p[2] = y < height / 2 ? 0 : 255;
    }
  jpegtest::EncodeOptions options;
  options.quality = 95;
  std::vector<uint8_t> bytes = jpegtest::encode(image, options);
  FILE* file = fopen((::testing::TempDir() + name).c_str(), "wb");
  ASSERT_NE(file, nullptr);
  fwrite(bytes.data(), 1, bytes.size(), file);
  fclose(file);
}

// The frame pixel at (x, y), y counted from the bottom as GL does.
std::vector<int> pixelAt(int x, int y) {
  unsigned char rgba[4] = {};
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  return {rgba[0], rgba[1], rgba[2]};
}

class Overlay : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testsupport::ensureGlContext());
    glViewport(0, 0, 640, 480);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, 1);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    registry.usePack = false;
    registry.rootPath = ::testing::TempDir();
  }
  ResourceRegistry registry;
};

}  // namespace

TEST_F(Overlay, JpegOverlaysDrawTheirTopRowAtTheTopOfTheScreen) {
  writeHalves("square.jpg", 256, 256);
  writeHalves("wide.jpg", 640, 480);
  for (const char* name : {"square.jpg", "wide.jpg"}) {
    SCOPED_TRACE(name);
    std::unique_ptr<COverlayImage> overlay(new COverlayImage(name, &registry));
    EXPECT_EQ(overlay->target, std::string(name) == "square.jpg" ? static_cast<GLenum>(GL_TEXTURE_2D)
                                                                 : static_cast<GLenum>(GL_TEXTURE_RECTANGLE_NV));
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(overlay->render(0.0f), 0);
    std::vector<int> top = pixelAt(320, 400), bottom = pixelAt(320, 80);
    EXPECT_GT(top[0], 200);
    EXPECT_LT(top[2], 60);
    EXPECT_GT(bottom[2], 200);
    EXPECT_LT(bottom[0], 60);
    EXPECT_FALSE(glIsEnabled(overlay->target));
  }
}

TEST_F(Overlay, PlacementAndTextureWindowAreHonoured) {
  writeHalves("square.jpg", 256, 256);
  COverlayImage overlay("square.jpg", &registry);
  // Only the bottom (blue) half of the picture, shifted to the screen's
  // right half (the projection spans drawWidth, so x is in those units).
  overlay.x = 320;
  overlay.t0 = 0.5f;
  overlay.dt = 0.5f;
  overlay.render(0.0f);
  std::vector<int> left = pixelAt(100, 240), right = pixelAt(500, 400);
  EXPECT_LT(left[0] + left[2], 30);
  EXPECT_GT(right[2], 200);
  EXPECT_LT(right[0], 60);
}

TEST_F(Overlay, PngOverlaysAre640x480RectanglesWhateverTheCase) {
  ResourceRegistry archive;
  archive.usePack = true;
  COverlayImage overlay("ZOLTLOAD.PNG", &archive);
  EXPECT_EQ(overlay.target, static_cast<GLenum>(GL_TEXTURE_RECTANGLE_NV));
  EXPECT_EQ(overlay.imageWidth, 640);
  EXPECT_EQ(overlay.imageHeight, 480);
  overlay.render(0.0f);
  // The loading picture's lettering is lit somewhere in its upper third.
  std::vector<unsigned char> rows(640 * 160 * 4);
  glReadPixels(0, 320, 640, 160, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
  int lit = 0;
  for (size_t i = 0; i < rows.size(); i += 4) lit += rows[i + 1] > 200;
  EXPECT_GT(lit, 500);
}

TEST_F(Overlay, UnreadablePicturesSayWhichAndDrawNothing) {
  testing::internal::CaptureStdout();
  COverlayImage missing("absent.jpg", &registry);
  COverlayImage missingPng("absent.png", &registry);
  COverlayImage other("notes.txt", &registry);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out,
            "COverlayImage encountered error loading absent.jpg\n"
            "COverlayImage encountered error loading absent.png\n");
  missing.render(0.0f);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Overlay, ScreenQuadBlendsTheCurrentColourAndLeavesBlendingOn) {
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  drawScreenQuad(640, 480);
  glColor4f(1.0f, 0.0f, 0.0f, 0.5f);
  drawScreenQuad(640, 480);
  std::vector<int> pixel = pixelAt(320, 240);
  EXPECT_NEAR(pixel[0], 255, 2);
  EXPECT_NEAR(pixel[1], 128, 2);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  // The quad covers the corners too (y grows downwards in its projection).
  EXPECT_NEAR(pixelAt(0, 479)[1], 128, 2);
  EXPECT_NEAR(pixelAt(639, 0)[1], 128, 2);
  glDisable(GL_BLEND);
}
