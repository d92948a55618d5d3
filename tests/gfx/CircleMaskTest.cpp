// The circle mask: a white disc of radius 255 texels about (256, 256) on
// black, its one-texel border black, made once by the registry as a 2D
// luminance texture.
#include <gtest/gtest.h>

#include <cmath>

#include "gfx/CircleMask.h"
#include "gfx/GlExtensions.h"
#include "gfx/TextureHandle.h"
#include "show/ResourceRegistry.h"
#include "support/GlTestContext.h"

namespace {

TEST(CircleMask, WhiteDiscOnBlackWithABlackBorder) {
  const std::vector<unsigned char> image = circleMaskImage();
  ASSERT_EQ(image.size(), size_t(512 * 512));
  auto at = [&image](int row, int column) { return int(image[size_t(row) * 512 + size_t(column)]); };
  long white = 0;
  for (int r = 0; r < 512; ++r) {
    for (int c = 0; c < 512; ++c) {
      const int v = at(r, c);
      ASSERT_TRUE(v == 0 || v == 255);
      white += v == 255;
      const double distance = std::hypot(r - 256.0, c - 256.0);
      if (distance < 250.0) {
        EXPECT_EQ(v, 255) << r << ", " << c;
      }
      if (distance > 257.0) {
        EXPECT_EQ(v, 0) << r << ", " << c;
      }
    }
  }
  EXPECT_NEAR(double(white), 3.14159 * 255.0 * 255.0, 0.01 * 3.14159 * 255.0 * 255.0);
  // The middle row reaches the border, which stays black.
  EXPECT_EQ(at(256, 1), 255);
  EXPECT_EQ(at(256, 510), 255);
  EXPECT_EQ(at(256, 0), 0);
  EXPECT_EQ(at(256, 511), 0);
  for (int c = 0; c < 512; ++c) {
    EXPECT_EQ(at(0, c), 0);
    EXPECT_EQ(at(511, c), 0);
  }
}

TEST(CircleMask, TheRegistryMakesOneSquareTextureAndKeepsIt) {
  ASSERT_TRUE(testsupport::ensureGlContext());
  ResourceRegistry registry;
  auto* mask = static_cast<TextureHandle*>(registry.get("CircleMask"));
  ASSERT_NE(mask, nullptr);
  EXPECT_EQ(registry.get("CircleMask"), mask);
  EXPECT_EQ(mask->target, GLenum(GL_TEXTURE_2D));
  mask->bind();
  GLint width = 0, height = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
  EXPECT_EQ(width, 512);
  EXPECT_EQ(height, 512);
  std::vector<unsigned char> read(512 * 512);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, read.data());
  EXPECT_EQ(read[256 * 512 + 256], 255);
  EXPECT_EQ(read[5 * 512 + 5], 0);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
