// Scene 6 played headless from the archive: the landscape's white lines and
// the green creatures in its first act, the swarm on the image's dark
// pixels at the end, the fade and the end on its beat, and a broken
// bug.cfg that still gives a scene the machine can draw.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "gfx/COverlayImage.h"
#include "gfx/GlExtensions.h"
#include "gfx/Random.h"
#include "scenes/effects/Terrain.h"
#include "scenes/swarm/BugSwarmScene.h"
#include "show/ResourceRegistry.h"
#include "support/HeadlessScene.h"

namespace {

// Green above the pixel's red and blue: the creatures (the landscape is grey).
int greenExcess(const std::vector<unsigned char>& rgb, int x, int y) {
  if (x < 0 || y < 0 || x >= 640 || y >= 480) return 0;
  const unsigned char* p = &rgb[(size_t(y) * 640 + x) * 3];
  return std::max(0, int(p[1]) - std::max(int(p[0]), int(p[2])));
}

class BugSwarmHeadless : public testsupport::HeadlessScene<BugSwarmScene> {
 public:
  static void SetUpTestSuite() {
    if (!open(testsupport::Content::Archive, [](ResourceRegistry&) { zolt::seedRandom(1); })) return;
    // The overlay is checked by its own tests; hidden here so only the
    // landscape and the creatures light the frame.
    scene->overlay->drawWidth = 0;
    scene->overlay->drawHeight = 0;
  }

 protected:
  void SetUp() override {
    HeadlessScene::SetUp();
    if (IsSkipped()) return;
    if (!scene->programReady) GTEST_SKIP() << "no vertex programs";
  }

  // Plays on at 15 frames a second: the walk steps at most 7 times a second.
  static std::vector<unsigned char> frameAt(float beat) { return playOn(beat, 15.0f); }
};

TEST_F(BugSwarmHeadless, BuildsFromTheShowsContent) {
  EXPECT_NEAR(scene->duration, 44.308f, 0.001f);
  EXPECT_EQ(int(scene->creatures.size()), scene->settings.numBugs);
  EXPECT_EQ(scene->settings.numBugs, 300) << "the shipped bug.cfg";
  EXPECT_FALSE(scene->nvProgram) << "Mesa runs the ARB text";
}

TEST_F(BugSwarmHeadless, TheFirstFrameAlreadyShowsTheCreatures) {
  // Its camera is named by the movie during this very frame; the huddled
  // swarm is a bright patch, as bright one frame later.
  auto bright = [](const std::vector<unsigned char>& rgb) {
    int n = 0;
    for (size_t i = 1; i < rgb.size(); i += 3) n += rgb[i] > 200;
    return n;
  };
  const int first = bright(frameAt(0.0f));
  const int second = bright(frameAt(scene->beatsAt(1.0f / 30.0f)));
  EXPECT_GT(first, second * 9 / 10) << second;
}

TEST_F(BugSwarmHeadless, FirstActShowsLandscapeLinesAndGreenCreatures) {
  const auto rgb = frameAt(12.0f);
  EXPECT_EQ(scene->cuts.current, "Camera01");
  int grey = 0, green = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const unsigned char* p = &rgb[(size_t(y) * 640 + x) * 3];
      if (p[0] > 30 && std::abs(p[0] - p[1]) < 8 && std::abs(p[1] - p[2]) < 8) ++grey;
      if (greenExcess(rgb, x, y) > 60) ++green;
    }
  }
  EXPECT_GT(grey, 5000) << "the landscape's grid";
  EXPECT_GT(green, 1500) << "the creatures";
}

TEST_F(BugSwarmHeadless, SwarmSpellsTheImageAtTheEnd) {
  const float beat = 90.0f;
  const auto rgb = frameAt(beat);
  ASSERT_EQ(scene->cuts.current, "Camera02");
  ASSERT_EQ(scene->cuts.transition, 0.0f);

  int32_t w = 0, h = 0;
  ASSERT_EQ(registry->getJpegSize("lastEffect.jpg", &w, &h), 0);
  std::vector<unsigned char> image(size_t(w) * h * 3);
  ASSERT_EQ(registry->decodeJpeg("lastEffect.jpg", image.data()), 0);

  // Where each pixel of the image lies on the screen, through the scene's
  // view and its 60-degree projection.
  float view[16];
  viewMatrix(scene->viewFor(scene->cuts.current, scene->secondsAtBeat(beat)), view);
  const float f = 1.0f / std::tan(30.0f * 3.14159265f / 180.0f);
  double dark = 0, light = 0;
  int darkCount = 0, lightCount = 0, outOfView = 0;
  for (int row = 0; row < h; ++row) {
    for (int col = 0; col < w; ++col) {
      Vec3 p(15.0f - row * 30.0f / h, 0.0f, 144.0f + col * 70.0f / w);
      p.y = scene->terrain->heightAt(p.x, p.z);
      const float ex = view[0] * p.x + view[4] * p.y + view[8] * p.z + view[12];
      const float ey = view[1] * p.x + view[5] * p.y + view[9] * p.z + view[13];
      const float ez = view[2] * p.x + view[6] * p.y + view[10] * p.z + view[14];
      ASSERT_LT(ez, 0.0f) << "the image's area is in front of the camera";
      const int sx = int((f * 0.75f * ex / -ez + 1.0f) * 320.0f);
      const int sy = int((f * ey / -ez + 1.0f) * 240.0f);
      const bool isDark = image[(size_t(row) * w + col) * 3] == 0;
      if (sx < 0 || sx >= 640 || sy < 0 || sy >= 480) {
        outOfView += isDark;
        continue;
      }
      int sum = 0;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) sum += greenExcess(rgb, sx + dx, sy + dy);
      if (isDark) {
        dark += sum;
        ++darkCount;
      } else {
        light += sum;
        ++lightCount;
      }
    }
  }
  ASSERT_GT(darkCount, 0);
  EXPECT_LT(outOfView, darkCount / 50) << "the whole word is in view";
  const double darkMean = dark / darkCount, lightMean = light / lightCount;
  EXPECT_GT(darkMean, 200.0) << "creatures stand on the dark pixels";
  EXPECT_GT(darkMean, 4.0 * lightMean) << "and far fewer elsewhere";
}

TEST_F(BugSwarmHeadless, FadesToBlackAndEndsOnItsLastBeat) {
  frameAt(95.9f);
  const auto rgb = testsupport::readFrame();
  long light = 0;
  for (unsigned char c : rgb) light += c;
  EXPECT_LT(light / long(rgb.size()), 2) << "nearly black";
  EXPECT_TRUE(scene->captured);
  EXPECT_EQ(scene->render(scene->duration), 1);
}

TEST(BugSwarmBadConfig, ABillionCreaturesAreHeldAtTheBound) {
  if (!testsupport::ensureGlContext()) GTEST_SKIP() << "no OpenGL context";
  ResourceRegistry registry;
  registry.usePack = true;
  registry.packName = std::string(ZOLT_OUTPUT_DIR) + "/trov.qz5";
  testing::internal::CaptureStdout();
  BugSwarmScene huge(&registry, "numBugs = 1000000000\nspeed = 40\ndrawCount = 1\nalpha = 0.3\n");
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(huge.creatures.size(), size_t(kMaxBugs));
  EXPECT_NE(out.find("too large"), std::string::npos);
  glViewport(0, 0, 640, 480);
  EXPECT_EQ(huge.render(1.0f), 0);

  testing::internal::CaptureStdout();
  BugSwarmScene empty(&registry, "# nothing\n");
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(empty.creatures.size(), size_t(SwarmSettings().numBugs));
}

}  // namespace
