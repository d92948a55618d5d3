// The registry's render-target and distortion rows on the real driver:
// each made once and shared, sized by the output settings, handed to every
// scene, and released with the registry.
#include <gtest/gtest.h>

#include "gfx/OffsetMap.h"
#include "gfx/PixelBuffer.h"
#include "gfx/ScreenDistortion.h"
#include "gfx/ScreenTexture.h"
#include "show/ResourceRegistry.h"
#include "show/Scene.h"
#include "support/GlTestContext.h"

namespace {

class RenderTargetRows : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testsupport::ensureGlContext()) GTEST_SKIP() << "no OpenGL context";
  }
};

}  // namespace

TEST_F(RenderTargetRows, MadeOnceAtTheirSizesAndReleasedWithTheRegistry) {
  GLuint textures[4] = {};
  GLuint colourBuffer = 0;
  {
    ResourceRegistry registry;
    registry.width = 800;
    registry.height = 600;

    auto* buffer = static_cast<PixelBuffer*>(registry.get("PBuffer512x512"));
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(registry.get("PBuffer512x512"), buffer);
    EXPECT_EQ(buffer->width, 512);
    EXPECT_EQ(buffer->height, 512);
    colourBuffer = buffer->colourBuffer;
    EXPECT_TRUE(glIsRenderbuffer(colourBuffer));  // shared with the window's context

    auto* square = static_cast<ScreenTexture*>(registry.get("CopyScreen512x512"));
    auto* screen = static_cast<ScreenTexture*>(registry.get("CopyScreen640x480"));
    auto* screenB = static_cast<ScreenTexture*>(registry.get("CopyScreen640x480b"));
    ASSERT_TRUE(square && screen && screenB);
    EXPECT_EQ(registry.get("CopyScreen640x480"), screen);
    EXPECT_NE(screenB, screen);
    EXPECT_NE(screenB->name, screen->name);
    EXPECT_EQ(square->width, 512);
    EXPECT_EQ(square->target, GLenum(GL_TEXTURE_2D));
    EXPECT_EQ(screen->width, 800);
    EXPECT_EQ(screen->height, 600);
    EXPECT_EQ(screenB->width, 800);
    EXPECT_EQ(screen->target, GLenum(GL_TEXTURE_RECTANGLE_NV));

    // Asking for the map first makes the distortion too.
    auto* map = static_cast<OffsetMap*>(registry.get("MessDSDT"));
    ASSERT_NE(map, nullptr);
    auto* distortion = static_cast<ScreenDistortion*>(registry.resources["SimpleDSDT"]);
    ASSERT_NE(distortion, nullptr);
    EXPECT_EQ(registry.get("SimpleDSDT"), distortion);
    EXPECT_EQ(distortion->offsetMap.get(), map);
    EXPECT_EQ(distortion->width, 800);
    EXPECT_EQ(distortion->screenTexture.height, 600);
    EXPECT_EQ(map->mapWidth, 128);
    EXPECT_EQ(map->mapHeight, 128);
    EXPECT_FLOAT_EQ(map->jitter, 0.15f);
    EXPECT_FLOAT_EQ(map->fade, 1.0f);
    EXPECT_FLOAT_EQ(map->scaleX, distortion->nvidia ? 1.0f : 800.0f);
    EXPECT_FLOAT_EQ(map->scaleY, distortion->nvidia ? 1.0f : 600.0f);

    // Every scene borrows the same objects.
    Scene scene(&registry);
    EXPECT_EQ(scene.pbuffer512, buffer);
    EXPECT_EQ(scene.copyScreen512, square);
    EXPECT_EQ(scene.copyScreen640, screen);
    EXPECT_EQ(scene.simpleDsdt, distortion);
    EXPECT_EQ(scene.messDsdt, map);

    textures[0] = square->name;
    textures[1] = screen->name;
    textures[2] = screenB->name;
    textures[3] = distortion->screenTexture.name;
    for (GLuint name : textures) EXPECT_TRUE(glIsTexture(name));
  }
  for (GLuint name : textures) EXPECT_FALSE(glIsTexture(name));
  EXPECT_FALSE(glIsRenderbuffer(colourBuffer));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
