// The off-screen picture on the real driver: drawing and frame reads go to
// it, and presenting lays it pixel for pixel into a larger target between
// black bars, leaving the caller's GL state alone.
#include "gfx/OffscreenPicture.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/GlTestContext.h"

namespace {

class OffscreenPictureGl : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testsupport::ensureGlContext()) GTEST_SKIP() << "no OpenGL context";
  }
};

// A plain framebuffer standing in for a screen of the given size.
struct StandInScreen {
  GLuint framebuffer = 0, colour = 0;
  StandInScreen(int w, int h) {
    glGenRenderbuffers(1, &colour);
    glBindRenderbuffer(GL_RENDERBUFFER, colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    // Garbage the present must clear away.
    glClearColor(0.3f, 0.6f, 0.9f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  ~StandInScreen() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteRenderbuffers(1, &colour);
  }
};

std::vector<unsigned char> row(GLuint framebuffer, int y, int width) {
  std::vector<unsigned char> pixels(size_t(width) * 4);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
  glReadPixels(0, y, width, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

bool isBlack(const unsigned char* p) { return p[0] == 0 && p[1] == 0 && p[2] == 0; }

TEST_F(OffscreenPictureGl, PictureOfA1920x1080ScreenSitsBetweenBarsOf240Pixels) {
  constexpr int kScreenW = 1920, kScreenH = 1080, kPictureW = 1440, kPictureH = 1080;
  StandInScreen screen(kScreenW, kScreenH);
  OffscreenPicture picture;
  ASSERT_TRUE(picture.create(kPictureW, kPictureH));
  GLint bound = 0;
  glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &bound);
  EXPECT_EQ(GLuint(bound), picture.framebuffer);

  // White picture with a red first and last column, so an off-by-one shows.
  glViewport(0, 0, kPictureW, kPictureH);
  glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_SCISSOR_TEST);
  glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
  glScissor(0, 0, 1, kPictureH);
  glClear(GL_COLOR_BUFFER_BIT);
  glScissor(kPictureW - 1, 0, 1, kPictureH);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0.25f, 0.5f, 0.75f, 1.0f);  // the caller's clear colour

  while (glGetError() != GL_NO_ERROR) {
  }
  picture.present(screen.framebuffer, 240, 0);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

  // The caller's state is as it was and the picture is bound again.
  EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
  GLfloat clear[4] = {};
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  EXPECT_FLOAT_EQ(clear[0], 0.25f);
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
  EXPECT_EQ(GLuint(bound), picture.framebuffer);
  glDisable(GL_SCISSOR_TEST);

  for (int y : {0, kScreenH / 2, kScreenH - 1}) {
    const std::vector<unsigned char> line = row(screen.framebuffer, y, kScreenW);
    for (int x = 0; x < kScreenW; ++x) {
      const unsigned char* p = &line[size_t(x) * 4];
      if (x < 240 || x >= 1680) {
        ASSERT_TRUE(isBlack(p)) << "bar pixel " << x << "," << y;
      } else if (x == 240 || x == 1679) {
        ASSERT_TRUE(p[0] == 255 && p[1] == 0) << "picture edge " << x << "," << y;
      } else {
        ASSERT_TRUE(p[0] == 255 && p[1] == 255 && p[2] == 255) << "picture " << x << "," << y;
      }
    }
  }
  // A frame read after the present still reads the picture alone.
  const std::vector<unsigned char> own = row(picture.framebuffer, 7, kPictureW);
  EXPECT_EQ(own[0], 255);
  EXPECT_EQ(own[1], 0);
  EXPECT_EQ(own[4 * 700 + 1], 255);

  picture.destroy();
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
  EXPECT_EQ(bound, 0);
  EXPECT_FALSE(picture.created());
}

TEST_F(OffscreenPictureGl, PresentIntoTheWindowRaisesNoErrorAndFillsTheBars) {
  // The test window is 640x480: a 320x240 picture in its middle.
  OffscreenPicture picture;
  ASSERT_TRUE(picture.create(320, 240));
  glViewport(0, 0, 320, 240);
  glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  while (glGetError() != GL_NO_ERROR) {
  }
  picture.present(0, 160, 120);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "the window has no colour attachment to restore";
  const std::vector<unsigned char> line = row(0, 240, 640);
  EXPECT_TRUE(isBlack(&line[4 * 159]));
  EXPECT_EQ(line[4 * 160 + 1], 255);
  EXPECT_EQ(line[4 * 479 + 1], 255);
  EXPECT_TRUE(isBlack(&line[4 * 480]));
  EXPECT_TRUE(isBlack(&row(0, 119, 640)[4 * 320]));
  picture.destroy();
}

TEST_F(OffscreenPictureGl, SizesTheDriverCannotMakeAreRefusedWithTheWindowBound) {
  OffscreenPicture picture;
  GLint largest = 0;
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
  EXPECT_FALSE(picture.create(largest + 1, 16));
  EXPECT_FALSE(picture.create(0, 480));
  EXPECT_FALSE(picture.created());
  GLint bound = -1;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
  EXPECT_EQ(bound, 0);
}

}  // namespace
