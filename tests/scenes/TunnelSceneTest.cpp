// Scene 3: where the tube's rings stand, the ten lit tiles, the
// distortion's amount, the scene played headless from the show's content
// (white rings, the green smeared cube on the wall, the distortion from
// beat 30 and for half a second after each flash), and a missing model
// that leaves the tube drawing.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>

#include "gfx/GlExtensions.h"
#include "scenes/tunnel/TunnelScene.h"
#include "scenes/tunnel/TunnelTube.h"
#include "show/ResourceRegistry.h"
#include "support/GlTestContext.h"
#include "support/MessageLog.h"
#include "tools/sceneplayer/ScenePlayer.h"

namespace {

TEST(TunnelTube, RingsStandAtWholeRingSpacingsAroundTheCamera) {
  EXPECT_FLOAT_EQ(TunnelTube::ringZ(0, 25.0f), -20.0f);
  EXPECT_FLOAT_EQ(TunnelTube::ringZ(1, 25.0f), -40.0f);
  for (float y : {0.0f, 7.5f, 19.99f, 20.0f, 333.3f, 1000.0f}) {
    for (int i = 0; i < TunnelTube::rings; ++i) {
      // Turned upright, ring i stands at y = -z: a whole multiple of 20,
      // the first at most one spacing behind the camera.
      const float along = -TunnelTube::ringZ(i, y);
      EXPECT_NEAR(std::fmod(along, 20.0f) * (20.0f - std::fmod(along, 20.0f)), 0.0f, 0.05f) << y;
      if (i == 0) {
        EXPECT_LE(along, y);
        EXPECT_GT(along, y - 20.0f);
      }
    }
  }
}

TEST(TunnelTube, TheWalkAlwaysLightsTenTiles) {
  for (float x = 0.0f; x < 40.0f; x += 0.37f) {
    TubeTile tiles[TunnelTube::litTileCount];
    ASSERT_EQ(TunnelTube::litTiles(x, tiles), 10) << "level " << x;
    for (int n = 0; n < 10; ++n) {
      EXPECT_GE(tiles[n].ring, 0);
      EXPECT_LT(tiles[n].ring, 20);
      EXPECT_GE(tiles[n].segment, 0);
      EXPECT_LT(tiles[n].segment, 20);
      if (n > 0) {
        EXPECT_FALSE(tiles[n].ring == tiles[n - 1].ring && tiles[n].segment == tiles[n - 1].segment);
      }
    }
  }
  // A level the walk cannot move from ends the walk instead of the show.
  TubeTile tiles[TunnelTube::litTileCount];
  EXPECT_LE(TunnelTube::litTiles(3e9f, tiles), 10);
  EXPECT_EQ(TunnelTube::litTiles(std::numeric_limits<float>::quiet_NaN(), tiles), 0);
  EXPECT_EQ(TunnelTube::litTiles(std::numeric_limits<float>::infinity(), tiles), 0);
}

TEST(TunnelScene, DistortionGrowsFromBeatThirtyAndAlwaysMovesTheFrame) {
  ASSERT_TRUE(testsupport::ensureGlContext());
  ResourceRegistry registry;
  registry.usePack = true;
  TunnelScene scene(&registry);
  EXPECT_NEAR(scene.distortionAmount(scene.secondsAtBeat(30.0f)), 0.0f, 1e-5f);
  EXPECT_NEAR(scene.distortionAmount(scene.duration), 0.5f, 1e-5f);
  EXPECT_LT(scene.distortionAmount(scene.secondsAtBeat(8.0f)), 0.0f);
  EXPECT_EQ(TunnelScene::distortionFade(0.0f), 1.0f);
  EXPECT_LT(TunnelScene::distortionFade(0.25f), 1.0f);
  EXPECT_LT(TunnelScene::distortionFade(0.5f), TunnelScene::distortionFade(0.25f));
  // A flash long before beat 30 distorts as strongly as the end, no more.
  EXPECT_EQ(TunnelScene::distortionFade(-5.5f), TunnelScene::distortionFade(0.5f));
  EXPECT_GT(TunnelScene::distortionFade(-5.5f), 0.9f);
}

struct Light {
  long green = 0;
  long white = 0;
};

Light lightIn(const RgbImage& image) {
  Light light;
  for (int y = 0; y < image.height; y += 2) {
    for (int x = 0; x < image.width; x += 2) {
      const unsigned char* p = image.at(x, y);
      if (p[1] > 50 && p[1] > p[0] + 30 && p[1] > p[2] + 30) ++light.green;
      if (p[0] > 90 && std::abs(p[0] - p[1]) < 12 && std::abs(p[1] - p[2]) < 12) ++light.white;
    }
  }
  return light;
}

TEST(TunnelScene, PlayedHeadlessTheTubeShowsAndDistortsAfterFlashesAndFromBeatThirty) {
  ScenePlayer player;
  ASSERT_TRUE(player.open(3, 640, 480)) << player.error;
  auto* scene = dynamic_cast<TunnelScene*>(player.playedScene());
  ASSERT_NE(scene, nullptr);

  int frames = 0, tubeFrames = 0, distortedEarly = 0, flashRuns = 0;
  float runStart = -1.0f;
  bool wasDistorted = false;
  player.play(30.0f, 32.0f, [&](const PlayedFrame& frame) {
    ++frames;
    if (frame.beat > 30.0f + 1.0f / 15.0f) {
      EXPECT_TRUE(scene->distorted) << "beat " << frame.beat;
    }
    if (frame.beat < 30.0f && scene->distorted) {
      ++distortedEarly;
      if (!wasDistorted) {
        ++flashRuns;
        runStart = frame.t;
      }
      // Raised for a quarter beat, then half a second more.
      EXPECT_LT(frame.t - runStart, 0.5f + 0.2f) << "beat " << frame.beat;
    }
    wasDistorted = scene->distorted;
    if (frame.index % 6 == 0) {
      const Light light = lightIn(player.readFrame());
      tubeFrames += light.white > 200 && light.green > 100;
    }
    return true;
  });
  EXPECT_GE(frames, 440);
  EXPECT_GE(flashRuns, 2) << "the rhythm movie flashes on its accents";
  EXPECT_LT(distortedEarly, frames / 3);
  EXPECT_GT(tubeFrames, frames / 6 * 9 / 10) << "white rings and the green wall in nearly every frame";
}

// Without its model the tunnel has no camera path; the loader says so and
// the scene still draws its tube from where the view stands.
TEST(TunnelScene, AMissingModelIsReportedAndTheTubeStillDraws) {
  ASSERT_TRUE(testsupport::ensureGlContext());
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "zolt-tunnel-assets";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  for (const char* name : {"rhythm0.swf", "rhythm1.swf", "rhythm2.swf", "rhythm3.swf"}) {
    std::filesystem::copy_file(std::string(ZOLT_CONTENT_DIR) + "/" + name, dir / name);
  }
  ResourceRegistry registry;
  registry.rootPath = dir.string() + "/";
  testing::internal::CaptureStdout();
  {
    TunnelScene scene(&registry);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("File not found: " + dir.string() + "/tunnel.3DS"), std::string::npos) << out;
    glViewport(0, 0, 640, 480);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 4.0 / 3.0, 1.0, 1000.0);
    EXPECT_EQ(scene.render(1.0f), 0);
    std::vector<unsigned char> rgb(640 * 480 * 3);
    glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    long lit = 0;
    for (size_t i = 0; i < rgb.size(); i += 3) lit += rgb[i] > 40;
    EXPECT_GT(lit, 1000);
    EXPECT_EQ(scene.render(scene.duration), 1);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
