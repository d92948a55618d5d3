// Copy-screen textures and texture handles on the real driver: the target
// rule, a full-size copy of the frame, and the registry's capture row.
#include <gtest/gtest.h>

#include <vector>

#include "gfx/ScreenTexture.h"
#include "gfx/TextureHandle.h"
#include "show/ResourceRegistry.h"
#include "support/GlTestContext.h"

namespace {

class ScreenTextureGl : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testsupport::ensureGlContext()) GTEST_SKIP() << "no OpenGL context";
  }
};

GLint levelSize(GLenum target, GLenum which) {
  GLint value = 0;
  glGetTexLevelParameteriv(target, 0, which, &value);
  return value;
}

}  // namespace

TEST(ScreenTextureTarget, OnlySquarePowersOfTwoAre2D) {
  EXPECT_EQ(screenTextureTarget(512, 512), GLenum(GL_TEXTURE_2D));
  EXPECT_EQ(screenTextureTarget(1, 1), GLenum(GL_TEXTURE_2D));
  EXPECT_EQ(screenTextureTarget(512, 256), GLenum(GL_TEXTURE_RECTANGLE_NV));
  EXPECT_EQ(screenTextureTarget(640, 480), GLenum(GL_TEXTURE_RECTANGLE_NV));
  EXPECT_EQ(screenTextureTarget(1024, 768), GLenum(GL_TEXTURE_RECTANGLE_NV));
  EXPECT_EQ(screenTextureTarget(600, 600), GLenum(GL_TEXTURE_RECTANGLE_NV));
}

TEST_F(ScreenTextureGl, FullSizeCopyTakesTheLowerLeftOfTheFrame) {
  // Left half red, right half blue over the lower-left 256 x 256 texels.
  glViewport(0, 0, 640, 480);
  glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_SCISSOR_TEST);
  glScissor(0, 0, 128, 480);
  glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_SCISSOR_TEST);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);

  ScreenTexture texture(256, 256, 0);
  EXPECT_EQ(texture.target, GLenum(GL_TEXTURE_2D));
  texture.copy(0, 0, 0, 0, -1, -1);
  std::vector<unsigned char> texels(256 * 256 * 3);
  texture.bind();
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
  auto at = [&](int x, int y, int c) { return texels[size_t((y * 256 + x) * 3 + c)]; };
  EXPECT_EQ(at(0, 0, 0), 255);
  EXPECT_EQ(at(127, 255, 0), 255);
  EXPECT_EQ(at(128, 0, 2), 255);
  EXPECT_EQ(at(255, 255, 2), 255);
  EXPECT_EQ(at(255, 255, 0), 0);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ScreenTextureGl, RectangleTextureHasTheOutputSize) {
  ScreenTexture texture(640, 480, 0);
  ASSERT_EQ(texture.target, GLenum(GL_TEXTURE_RECTANGLE_NV));
  texture.bind();
  EXPECT_EQ(levelSize(texture.target, GL_TEXTURE_WIDTH), 640);
  EXPECT_EQ(levelSize(texture.target, GL_TEXTURE_HEIGHT), 480);
  texture.copy(0, 0, 0, 0, -1, -1);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  const GLuint name = texture.name;
  {
    ScreenTexture gone(16, 16, 0);
    EXPECT_TRUE(glIsTexture(gone.name));
  }
  EXPECT_TRUE(glIsTexture(name));
}

TEST_F(ScreenTextureGl, HandleMakesItsNameOnFirstBindAndDeletesIt) {
  GLuint name = 0;
  {
    TextureHandle handle;
    EXPECT_FALSE(handle.created);
    EXPECT_EQ(handle.target, GLenum(GL_TEXTURE_2D));
    handle.bind();
    ASSERT_TRUE(handle.created);
    name = handle.name;
    handle.bind();
    EXPECT_EQ(handle.name, name);  // one name for the handle's whole life
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), name);
  }
  EXPECT_FALSE(glIsTexture(name));
}

TEST_F(ScreenTextureGl, CaptureNamesGetOneOutputSizedTextureEach) {
  ResourceRegistry registry;
  registry.width = 800;
  registry.height = 600;
  auto* capture = static_cast<ScreenTexture*>(registry.get("Capture3"));
  ASSERT_NE(capture, nullptr);
  EXPECT_EQ(capture->width, 800);
  EXPECT_EQ(capture->height, 600);
  EXPECT_EQ(capture->target, GLenum(GL_TEXTURE_RECTANGLE_NV));
  EXPECT_EQ(registry.get("Capture3"), capture);
  auto* otherCase = static_cast<ScreenTexture*>(registry.get("capture3"));
  ASSERT_NE(otherCase, nullptr);
  EXPECT_NE(otherCase, capture);
  EXPECT_NE(otherCase->name, capture->name);
  EXPECT_EQ(registry.get("Captur"), nullptr);  // fewer than seven characters
}
