// The scene base: beat clock, the once-only capture of a finished frame,
// and the rhythm level read from the shared rhythm values.
#include <gtest/gtest.h>

#include <cmath>

#include "gfx/GlExtensions.h"
#include "gfx/ScreenTexture.h"
#include "show/Scene.h"
#include "show/ResourceRegistry.h"
#include "support/GlTestContext.h"

namespace {

void clearTo(float r, float g, float b) {
  glClearColor(r, g, b, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}

// Red byte of the capture's first texel.
int capturedRed(ScreenTexture& texture) {
  std::vector<unsigned char> texels(size_t(texture.width) * texture.height * 3);
  texture.bind();
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(texture.target, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
  return texels[0];
}

}  // namespace

TEST(SceneClock, BeatsAndSecondsAt130BeatsPerMinute) {
  Scene scene(nullptr);
  EXPECT_EQ(scene.tempo, 130.0f);
  EXPECT_EQ(scene.beatsAt(-1.0f), 0.0f);
  EXPECT_NEAR(scene.secondsAtBeat(32.0f), 14.769f, 0.001f);
  EXPECT_NEAR(scene.beatsAt(scene.secondsAtBeat(32.0f)), 32.0f, 1e-4f);
  EXPECT_NEAR(scene.beatsAt(60.0f), 130.0f, 1e-4f);
  EXPECT_EQ(scene.duration, 0.0f);
  EXPECT_EQ(scene.captureTime, 0.0f);
  EXPECT_FALSE(scene.captured);
}

TEST(SceneBase, ReadsTheDisplaySettingsFromTheRegistry) {
  // A scene borrows the shared render targets, which need a context.
  if (!testsupport::ensureGlContext()) GTEST_SKIP() << "no OpenGL context";
  ResourceRegistry registry;
  registry.width = 1024;
  registry.height = 768;
  registry.good = 1;
  registry.rootPath = ZOLT_CONTENT_DIR "/";
  Scene scene(&registry);
  EXPECT_EQ(scene.width, 1024);
  EXPECT_EQ(scene.height, 768);
  EXPECT_EQ(scene.good, 1);
  EXPECT_EQ(scene.glowWidth(4), 6.0f);
  EXPECT_EQ(scene.registry, &registry);
}

TEST(SceneBase, RhythmLevelWithoutRhythmValuesRestsAtItsFloor) {
  Scene scene(nullptr);
  scene.updateRhythm(1.0f, 0);
  EXPECT_FLOAT_EQ(scene.rhythmLevel, 0.5f / 640.0f);
}

TEST(SceneCapture, CopiesOnceOnTheFirstFrameAfterTheCaptureTime) {
  if (!testsupport::ensureGlContext()) GTEST_SKIP() << "no OpenGL context";
  Scene scene(nullptr);
  ScreenTexture texture(64, 64, 0);
  scene.captureTexture = &texture;
  clearTo(0.0f, 0.0f, 0.0f);
  texture.copy(0, 0, 0, 0, -1, -1);

  clearTo(1.0f, 0.0f, 0.0f);
  scene.captureOnce(0.0f);  // not yet: the time must pass captureTime
  EXPECT_FALSE(scene.captured);
  EXPECT_EQ(capturedRed(texture), 0);

  scene.captureOnce(0.01f);
  EXPECT_TRUE(scene.captured);
  EXPECT_EQ(capturedRed(texture), 255);

  // Later frames, even after a jump back, leave the capture alone.
  clearTo(0.0f, 0.0f, 1.0f);
  scene.captureOnce(0.02f);
  scene.captureOnce(5.0f);
  EXPECT_EQ(capturedRed(texture), 255);
}
