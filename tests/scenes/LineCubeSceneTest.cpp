// Scene 2: the ring disc's path and cells, the overlays' fades, the views
// the channels switch, the scene played headless from the show's content
// (the cube through the round mask, the white rings, the title pictures),
// and a broken picture that leaves the rest of the scene drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>
#include <string>
#include <utility>

#include "gfx/GlExtensions.h"
#include "scenes/linecube/LineCubeScene.h"
#include "scenes/linecube/RingDisc.h"
#include "show/ResourceRegistry.h"
#include "support/GlTestContext.h"
#include "tools/sceneplayer/ScenePlayer.h"

namespace {

struct Light {
  long green = 0;  // green well above red and blue: the cube's trails
  long white = 0;  // bright and grey: rings, cells and pictures
};

Light lightIn(const RgbImage& image) {
  Light light;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const unsigned char* p = image.at(x, y);
      if (p[1] > 60 && p[1] > p[0] + 40 && p[1] > p[2] + 40) ++light.green;
      if (p[0] > 90 && std::abs(p[0] - p[1]) < 12 && std::abs(p[1] - p[2]) < 12) ++light.white;
    }
  }
  return light;
}

TEST(RingDisc, ThePathStoresACellChangeAtATime) {
  const std::vector<DiscPoint> path = RingDisc::buildPath();
  ASSERT_GT(path.size(), 50u);
  ASSERT_LE(path.size(), size_t(RingDisc::maxPathPoints));
  // The curve starts at the origin, where it has no angle.
  EXPECT_EQ(path[0].x, 0.0f);
  EXPECT_EQ(path[0].y, 0.0f);
  std::set<std::pair<int, int>> cells;
  for (size_t i = 0; i < path.size(); ++i) {
    EXPECT_LE(std::fabs(path[i].x), 1.0f);
    EXPECT_LE(std::fabs(path[i].y), 1.0f);
    if (i > 0) {
      EXPECT_FALSE(path[i].x == path[i - 1].x && path[i].y == path[i - 1].y) << i;
    }
    const RingCell cell = RingDisc::cellAt(path[i].x, path[i].y);
    cells.insert({cell.ring, cell.sector});
  }
  EXPECT_GT(cells.size(), 40u) << "the chain wanders over the disc";
  // The chain's start stays on the path whatever the level.
  RingDisc disc;
  for (float level : {0.0f, 0.3f, 1.0f, 7.5f, -2.0f, 1e9f, std::numeric_limits<float>::quiet_NaN()}) {
    const int start = disc.chainStart(level);
    EXPECT_GE(start, 0) << level;
    EXPECT_LT(start, int(disc.path.size())) << level;
  }
}

TEST(RingDisc, CellsAreBandsBetweenNeighbouringCircles) {
  EXPECT_EQ(RingDisc::cellAt(0.0f, 0.0f).ring, 0);
  EXPECT_EQ(RingDisc::cellAt(0.5f, 0.0f).ring, 3);
  EXPECT_EQ(RingDisc::cellAt(0.5f, 0.0f).sector, 0);
  EXPECT_EQ(RingDisc::cellAt(0.0f, -0.5f).sector, 14);
  EXPECT_EQ(RingDisc::cellAt(-0.5f, 0.01f).sector, 9);
  // Past the ninth band a point stays on the outermost one instead of a
  // cell reaching across the disc.
  EXPECT_EQ(RingDisc::cellAt(1.3f, 0.3f).ring, RingDisc::bandCount - 1);
  for (float x = -1.0f; x <= 1.0f; x += 0.05f) {
    for (float y = -1.0f; y <= 1.0f; y += 0.05f) {
      const RingCell cell = RingDisc::cellAt(x, y);
      EXPECT_GE(cell.ring, 0);
      EXPECT_LT(cell.ring, RingDisc::bandCount);
      EXPECT_GE(cell.sector, 0);
      EXPECT_LT(cell.sector, RingDisc::spokeCount);
    }
  }
}

TEST(LineCubeScene, ChannelsAboveAnEighthDrawTheirViews) {
  EXPECT_FALSE(LineCubeScene::drawsView(0.125f));
  EXPECT_TRUE(LineCubeScene::drawsView(0.126f));
  EXPECT_FALSE(LineCubeScene::drawsView(0.0f));
  EXPECT_FALSE(LineCubeScene::drawsView(std::numeric_limits<float>::quiet_NaN()));
}

TEST(LineCubeScene, TheTitlePicturesFadeAtTheirBeats) {
  EXPECT_EQ(LineCubeScene::overlayLevel(1, 4.0f), 0.0f);
  EXPECT_LT(LineCubeScene::overlayLevel(1, 4.5f), 0.75f);
  EXPECT_FLOAT_EQ(LineCubeScene::overlayLevel(1, 4.8f), 0.75f);
  EXPECT_FLOAT_EQ(LineCubeScene::overlayLevel(1, 10.0f), 0.75f);
  EXPECT_FLOAT_EQ(LineCubeScene::overlayLevel(1, 15.7f), 0.75f);
  EXPECT_LT(LineCubeScene::overlayLevel(1, 16.0f), 0.75f);
  EXPECT_EQ(LineCubeScene::overlayLevel(1, 16.5f), 0.0f);
  EXPECT_EQ(LineCubeScene::overlayLevel(1, 18.0f), 0.0f);
  EXPECT_EQ(LineCubeScene::overlayLevel(2, 18.0f), 0.0f);
  EXPECT_FLOAT_EQ(LineCubeScene::overlayLevel(2, 24.0f), 0.75f);
  EXPECT_EQ(LineCubeScene::overlayLevel(2, 28.0f), 0.0f);
}

// Played as the recorder plays it: every frame's views follow the channels
// until beat 28 and are the one closing view after; the cube is green
// through the mask in every act, the rings white, the pictures add light
// while they show.
TEST(LineCubeScene, PlayedHeadlessEveryActShowsWhatItShould) {
  ScenePlayer player;
  ASSERT_TRUE(player.open(2, 640, 480)) << player.error;
  auto* scene = dynamic_cast<LineCubeScene*>(player.playedScene());
  ASSERT_NE(scene, nullptr);
  ASSERT_NEAR(player.lengthInBeats(), 32.0f, 1e-3f);

  int frames = 0;
  int greenFrames = 0;
  // Per pixel, the least light over the frames at full picture strength
  // and over those between the pictures: the views move, the pictures stay.
  std::vector<int> leastWithPicture(640 * 480, 255), leastWithout(640 * 480, 255);
  int withPicture = 0, without = 0;
  player.play(30.0f, 32.0f, [&](const PlayedFrame& frame) {
    ++frames;
    int expected = 0;
    for (int k = 0; k < 4; ++k) expected += LineCubeScene::drawsView(scene->channel[k][3]);
    if (frame.beat >= 28.0f) expected = 1;
    EXPECT_EQ(scene->viewsDrawn, expected) << "beat " << frame.beat;
    if (frame.index % 5 != 0) return true;
    const RgbImage image = player.readFrame();
    greenFrames += lightIn(image).green > 300;
    const bool picture = LineCubeScene::overlayLevel(1, frame.beat) >= 0.75f;
    const bool between = frame.beat > 16.5f && frame.beat < 20.0f;
    if (picture || between) {
      std::vector<int>& least = picture ? leastWithPicture : leastWithout;
      for (size_t i = 0; i < least.size(); ++i) least[i] = std::min(least[i], int(image.rgb[i * 3]));
      ++(picture ? withPicture : without);
    }
    return true;
  });
  EXPECT_GE(frames, 440);
  EXPECT_GT(greenFrames, frames / 5 * 9 / 10) << "the cube shows in nearly every frame";
  ASSERT_GT(withPicture, 10);
  ASSERT_GT(without, 5);
  // Lit in every frame with the picture and dark in some frame without.
  long pictureOnly = 0;
  for (size_t i = 0; i < leastWithPicture.size(); ++i) pictureOnly += leastWithPicture[i] > 80 && leastWithout[i] < 30;
  EXPECT_GT(pictureOnly, 3000) << "the title picture stays in place while it shows";
}

// A corrupt picture is reported by its loader; the scene goes on drawing
// the cube and its disc without it.
TEST(LineCubeScene, ACorruptPictureIsReportedAndTheRestStillDraws) {
  ASSERT_TRUE(testsupport::ensureGlContext());
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "zolt-linecube-assets";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  for (const char* name : {"linecube.3ds", "linecube.swf", "zolt2.png", "rhythm0.swf", "rhythm1.swf",
                           "rhythm2.swf", "rhythm3.swf"}) {
    std::filesystem::copy_file(std::string(ZOLT_CONTENT_DIR) + "/" + name, dir / name);
  }
  {
    std::ofstream broken(dir / "zolt1.png", std::ios::binary);
    broken << "\x89PNG\r\n\x1a\n not a picture";
  }
  ResourceRegistry registry;
  registry.rootPath = dir.string() + "/";
  testing::internal::CaptureStdout();
  {
    LineCubeScene scene(&registry);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("COverlayImage encountered error loading zolt1.png"), std::string::npos) << out;
    glViewport(0, 0, 640, 480);
    // Beat 10, where the broken picture would show, and the closing view.
    for (float beat : {10.0f, 29.0f}) {
      EXPECT_EQ(scene.render(scene.secondsAtBeat(beat)), 0);
      std::vector<unsigned char> rgb(640 * 480 * 3);
      glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
      long lit = 0;
      for (size_t i = 0; i < rgb.size(); i += 3) lit += rgb[i + 1] > 60;
      EXPECT_GT(lit, 1000) << "beat " << beat;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
