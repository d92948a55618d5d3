// The pixel buffer on the real driver: its context keeps its own state
// across switches, draws only into its own surface, and what is copied
// there into a shared texture is seen from the window's context.
#include <gtest/gtest.h>

#include <vector>

#include "gfx/PixelBuffer.h"
#include "gfx/ScreenQuad.h"
#include "gfx/ScreenTexture.h"
#include "platform/Window.h"
#include "support/GlTestContext.h"

namespace {

class PixelBufferGl : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testsupport::ensureGlContext()) GTEST_SKIP() << "no OpenGL context";
  }
};

struct Rgba {
  float r, g, b, a;
};
Rgba clearColour() {
  Rgba c{};
  glGetFloatv(GL_COLOR_CLEAR_VALUE, &c.r);
  return c;
}
std::vector<GLint> viewport() {
  std::vector<GLint> v(4);
  glGetIntegerv(GL_VIEWPORT, v.data());
  return v;
}
std::vector<unsigned char> pixelAt(int x, int y) {
  std::vector<unsigned char> p(4);
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
  return p;
}

}  // namespace

TEST_F(PixelBufferGl, EachContextKeepsItsOwnStateAndSurface) {
  glViewport(0, 0, 640, 480);
  glDisable(GL_BLEND);
  glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);

  PixelBuffer buffer(512, 512);
  buffer.create(true);
  EXPECT_EQ(buffer.width, 512);
  EXPECT_EQ(buffer.height, 512);
  buffer.makeCurrent();
  EXPECT_EQ(viewport(), (std::vector<GLint>{0, 0, 512, 512}));
  GLint depthBits = 0;
  glGetIntegerv(GL_DEPTH_BITS, &depthBits);
  EXPECT_GT(depthBits, 0);
  glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
  glEnable(GL_BLEND);
  glViewport(0, 0, 256, 128);
  glClear(GL_COLOR_BUFFER_BIT);
  EXPECT_EQ(pixelAt(10, 10), (std::vector<unsigned char>{255, 0, 0, 255}));
  buffer.restore();

  // The window's context: untouched state, and the clear went elsewhere.
  EXPECT_EQ(clearColour().b, 1.0f);
  EXPECT_EQ(clearColour().r, 0.0f);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_EQ(viewport(), (std::vector<GLint>{0, 0, 640, 480}));
  EXPECT_EQ(pixelAt(10, 10), (std::vector<unsigned char>{0, 0, 255, 255}));

  buffer.makeCurrent();
  EXPECT_EQ(clearColour().r, 1.0f);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  EXPECT_EQ(viewport(), (std::vector<GLint>{0, 0, 256, 128}));
  EXPECT_EQ(pixelAt(10, 10), (std::vector<unsigned char>{255, 0, 0, 255}));
  buffer.restore();
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(PixelBufferGl, TextureCopiedThereIsSeenFromTheWindow) {
  PixelBuffer buffer(512, 512);
  buffer.create(true);
  ScreenTexture texture(512, 512, 0);  // made in the window's context

  // As the line cube does: draw off screen, copy while current, restore.
  buffer.makeCurrent();
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  setScreenOrtho(0.0, 512.0, 0.0, 512.0);
  glColor4f(0.0f, 1.0f, 0.0f, 1.0f);
  glBegin(GL_QUADS);
  glVertex2i(0, 0);
  glVertex2i(256, 0);
  glVertex2i(256, 512);
  glVertex2i(0, 512);
  glEnd();
  texture.copy(0, 0, 0, 0, -1, -1);
  buffer.restore();

  std::vector<unsigned char> texels(512 * 512 * 3);
  texture.bind();
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
  auto at = [&](int x, int y, int c) { return texels[size_t((y * 512 + x) * 3 + c)]; };
  EXPECT_EQ(at(0, 0, 1), 255);
  EXPECT_EQ(at(255, 511, 1), 255);
  EXPECT_EQ(at(256, 0, 1), 0);
  EXPECT_EQ(at(511, 511, 1), 0);
  EXPECT_EQ(at(100, 100, 0), 0);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(PixelBufferFailure, FailuresThrowForTheEntryToEndTheShow) {
  // Switching to a buffer that was never made.
  PixelBuffer never(512, 512);
  EXPECT_THROW(never.makeCurrent(), PixelBufferFailure);
  // No context to share with.
  ASSERT_TRUE(testsupport::ensureGlContext());
  platform::releaseContext();
  PixelBuffer buffer(512, 512);
  EXPECT_THROW(buffer.create(true), PixelBufferFailure);
  platform::makeContextCurrent();
}
