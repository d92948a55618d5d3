// Scene 1: the height field's key shapes and morph, the view levels, and
// the scene played headless from the show's own content — green grid
// lines on black, the white flash with dark lines, the cut threshold and
// the quality switch that drops the scroller.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "gfx/GlExtensions.h"
#include "gfx/Random.h"
#include "gfx/Scene3ds.h"
#include "scenes/plane/CurveTrails.h"
#include "scenes/plane/HeightField.h"
#include "scenes/plane/PlaneScene.h"
#include "show/ResourceRegistry.h"
#include "support/HeadlessScene.h"
#include "swf/swfScript.h"

namespace {

float heightAt(const std::vector<float>& points, int c, int r) {
  return points[size_t(HeightField::index(c, r)) * 3 + 2];
}

// The value the scene's draws in [a, b] give for generator value r.
float drawn(int r, float a, float b) { return a + float(r % 1000) * (b - a) / 1000.0f; }

}  // namespace

TEST(HeightFieldKey, SeedsValleyAndDrawCount) {
  zolt::seedRandom(7);
  std::vector<float> key;
  HeightField::buildKey(key);
  const int after = zolt::random();

  for (int r : {0, 32, 64}) {
    EXPECT_EQ(heightAt(key, 0, r), 15.0f);
    EXPECT_EQ(heightAt(key, 32, r), 0.0f);
    EXPECT_EQ(heightAt(key, 64, r), 15.0f);
  }
  // The centre column outside its seeds stays at the unset height.
  for (int r = 1; r < 64; ++r) {
    if (r == 32) continue;
    EXPECT_EQ(heightAt(key, 32, r), HeightField::unset) << "row " << r;
  }
  // The points on a row and column are where they belong.
  EXPECT_EQ(key[size_t(HeightField::index(10, 20)) * 3], -110.0f);
  EXPECT_EQ(key[size_t(HeightField::index(10, 20)) * 3 + 1], -60.0f);

  // The first refined point, (16, 0): the mean of its two seeds on the
  // coarser lattice (15 and 0) plus the first draw in [-32, 32].
  zolt::seedRandom(7);
  const int first = zolt::random();
  EXPECT_FLOAT_EQ(heightAt(key, 16, 0), 7.5f + drawn(first, -32.0f, 32.0f));

  // One draw for every point but the nine seeds and the 62 unset centre
  // points: the next key starts exactly where this one stopped.
  zolt::seedRandom(7);
  for (int i = 0; i < 65 * 65 - 9 - 62; ++i) zolt::random();
  EXPECT_EQ(zolt::random(), after);
}

TEST(HeightFieldKey, NeighboursOfTheValleyAreLowerThanTheRidges) {
  zolt::seedRandom(1);
  HeightField field;
  float nearValley = 0.0f, nearEdge = 0.0f;
  for (const std::vector<float>& key : field.keyGrids) {
    for (int r = 0; r <= 64; ++r) {
      nearValley += heightAt(key, 31, r) + heightAt(key, 33, r);
      nearEdge += heightAt(key, 1, r) + heightAt(key, 63, r);
    }
  }
  EXPECT_LT(nearValley, nearEdge);
}

TEST(HeightFieldMorph, BlendsNeighbouringKeysAndWrapsToTheFirst) {
  zolt::seedRandom(1);
  HeightField field;
  const size_t probe = size_t(HeightField::index(20, 40)) * 3 + 2;
  field.morph(4.0f, 1.0f);  // L0 x 6 = 4 is key 0 again
  EXPECT_EQ(field.grid[probe], field.keyGrids[0][probe]);
  field.morph(1.25f, 1.0f);
  EXPECT_FLOAT_EQ(field.grid[probe], 0.75f * field.keyGrids[1][probe] + 0.25f * field.keyGrids[2][probe]);
  field.morph(3.5f, 1.0f);  // key 3 blends back towards key 0, never key 4
  EXPECT_FLOAT_EQ(field.grid[probe], 0.5f * field.keyGrids[3][probe] + 0.5f * field.keyGrids[0][probe]);
  field.morph(5.0f, 0.0625f);  // rise (b = 0.5)^4 flattens the heights only
  EXPECT_FLOAT_EQ(field.grid[probe], field.keyGrids[1][probe] * 0.0625f);
  EXPECT_EQ(field.grid[probe - 2], -60.0f);
}

TEST(CurveTrailsBuild, LinesRunAlongTheValleyAndLoopsCloseOnTheSphere) {
  zolt::seedRandom(3);
  CurveTrails trails;
  for (const SplinePath& line : trails.lineCurves) {
    ASSERT_EQ(line.points.size(), 10u);
    EXPECT_FLOAT_EQ(line.points[1].y - line.points[0].y, 64.0f);
    for (const Vec3& p : line.points) {
      EXPECT_LE(std::fabs(p.x), 10.0f);
      EXPECT_GE(p.z, 0.0f);
      EXPECT_LE(p.z, 20.0f);
    }
  }
  for (const SplinePath& loop : trails.loopCurves) {
    ASSERT_EQ(loop.points.size(), 14u);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(loop.points[size_t(10 + k)], loop.points[size_t(k)]);
    for (const Vec3& p : loop.points) EXPECT_NEAR(p.length(), 10.0f, 1e-3f);
  }
  // A trail closed all the way lies on its loop; open, on its line.
  Vec3 open[4], closed[4];
  trails.trailPoints(5, 2.5f, 0.0f, open);
  trails.trailPoints(5, 2.5f, 1.0f, closed);
  EXPECT_EQ(open[1], trails.lineCurves[5].evaluate(2.3f));
  EXPECT_EQ(closed[3], trails.loopCurves[5].evaluate(2.5f - 0.6f));
}

TEST(PlaneSceneLevels, TheGridFadesFromBeatTwentyEight) {
  EXPECT_FLOAT_EQ(PlaneScene::viewLevel(27.9f, 0.6f), 0.6f);
  EXPECT_FLOAT_EQ(PlaneScene::viewLevel(10.0f, 1.4f), 1.0f);
  EXPECT_FLOAT_EQ(PlaneScene::viewLevel(28.0f, 0.2f), 1.0f);  // the fade replaces the channel
  EXPECT_FLOAT_EQ(PlaneScene::viewLevel(31.0f, 0.2f), 0.5f);
  EXPECT_NEAR(PlaneScene::viewLevel(32.0f, 0.2f), 1.0f / 3.0f, 1e-6f);  // the last frame
  EXPECT_FLOAT_EQ(PlaneScene::viewLevel(34.0f, 1.0f), 0.0f);
  EXPECT_FLOAT_EQ(PlaneScene::viewLevel(40.0f, 1.0f), 0.0f);
}

namespace {

struct PlaneFrame {
  int green = 0;   // green lines: green well above red and blue
  int grey = 0;    // grey-white: all three channels alike and lit
  int dark = 0;    // clearly below white, for the flash
  int lit = 0;     // anything above black
  int white = 0;   // near white: the flash's background around the field
  long light = 0;  // summed channels
  double meanLevel() const { return double(light) / (640.0 * 480.0 * 3.0); }
  bool whiteBackground() const { return white > 640 * 480 / 10; }
};

PlaneFrame planeFrame(const std::vector<unsigned char>& rgb) {
  PlaneFrame frame;
  for (size_t i = 0; i < rgb.size(); i += 3) {
    const int r = rgb[i], g = rgb[i + 1], b = rgb[i + 2];
    frame.light += r + g + b;
    if (r + g + b > 0) ++frame.lit;
    if (g > 40 && g > r + 30 && g > b + 30) ++frame.green;
    if (r > 40 && std::abs(r - g) < 8 && std::abs(g - b) < 8) ++frame.grey;
    if (r < 200 && std::abs(r - g) < 8 && std::abs(g - b) < 8) ++frame.dark;
    if (r > 240 && g > 240 && b > 240) ++frame.white;
  }
  return frame;
}

class PlaneSceneHeadless : public testsupport::HeadlessScene<PlaneScene> {
 public:
  static void SetUpTestSuite() {
    open(testsupport::Content::Folder, [](ResourceRegistry& content) { content.good = 1; });
  }

 protected:
  void SetUp() override {
    HeadlessScene::SetUp();
    if (IsSkipped()) return;
    scene->good = 1;
    settleAt(0.5f);
  }

  // Two frames at one beat: a rhythm movie sent back restarts at its first
  // frame, whose flash the second frame lowers again.
  void settleAt(float beat) {
    scene->render(scene->secondsAtBeat(beat));
    scene->render(scene->secondsAtBeat(beat));
    *scene->white = 0;
  }

  PlaneFrame frameAt(float beat, float fromBeat) { return planeFrame(playFrom(fromBeat, beat, 30.0f)); }

  // One frame with the cut list held: the movie's channels are not
  // written, view k shows at `value`, the others are off.
  PlaneFrame heldFrame(float beat, int view, float value) {
    std::vector<LayerRequest> requests;
    requests.swap(scene->movie->requests);
    for (auto& channel : scene->channel) channel[3] = 0.0f;
    scene->channel[view][3] = value;
    settleAt(beat);
    scene->movie->requests.swap(requests);
    return planeFrame(testsupport::readFrame());
  }
};

}  // namespace

TEST_F(PlaneSceneHeadless, BuildsFromTheShowsContent) {
  EXPECT_NEAR(scene->duration, 14.769f, 0.001f);
  EXPECT_EQ(scene->captureTime, 10.0f);
  EXPECT_EQ(scene->captureTexture, registry->get("Capture1"));
  ASSERT_NE(scene->planeScene->file, nullptr);
  EXPECT_TRUE(scene->movie->loaded());
  EXPECT_TRUE(scene->scroller.created);
  // The scroller keeps sharp, uncompressed texels.
  scene->scroller.bind();
  GLint minFilter = 0, magFilter = 0, compressed = 1;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_COMPRESSED, &compressed);
  EXPECT_EQ(minFilter, GL_NEAREST);
  EXPECT_EQ(magFilter, GL_NEAREST);
  EXPECT_EQ(compressed, GL_FALSE);
}

TEST_F(PlaneSceneHeadless, GreenGridAndGreyTrailsOnBlack) {
  // Every act of the cut list: one view, pairs, all four, the closing.
  for (float beat : {2.0f, 6.5f, 11.0f, 14.5f, 18.0f, 22.0f, 26.5f}) {
    const PlaneFrame frame = frameAt(beat, beat - 0.5f);
    EXPECT_GT(frame.green, 3000) << "beat " << beat;
    EXPECT_GT(frame.grey, 100) << "beat " << beat;
    EXPECT_LT(frame.meanLevel(), 64.0) << "beat " << beat;  // lines on black
    EXPECT_FALSE(frame.whiteBackground()) << "beat " << beat;
  }
  // The last frame: the faded grid is still there, the trails are green loops.
  const PlaneFrame last = frameAt(31.95f, 31.0f);
  EXPECT_GT(last.green, 500);
}

TEST_F(PlaneSceneHeadless, TheWhiteFlashShowsDarkLinesOnWhite) {
  frameAt(9.9f, 9.5f);
  *scene->white = 1;
  scene->whiteDropped = true;
  const PlaneFrame flash = frameAt(10.0f, 10.0f);
  EXPECT_TRUE(flash.whiteBackground()) << flash.white;
  EXPECT_GT(flash.dark, 3000);
  *scene->white = 0;
  const PlaneFrame after = frameAt(10.05f, 10.05f);
  EXPECT_FALSE(after.whiteBackground()) << after.white;
  EXPECT_GT(after.green, 3000);
  // Only the scroller's own green glow shows through the flash.
  EXPECT_LT(flash.green * 4, after.green);
}

TEST_F(PlaneSceneHeadless, AFlashRaisedBeforeTheSceneIsDroppedOnce) {
  frameAt(4.9f, 4.8f);  // past the movie's own flash of its first beat
  scene->whiteDropped = false;
  *scene->white = 1;
  const PlaneFrame first = frameAt(5.0f, 5.0f);
  EXPECT_EQ(*scene->white, 0);
  EXPECT_FALSE(first.whiteBackground());
  *scene->white = 1;
  const PlaneFrame second = frameAt(5.05f, 5.05f);
  EXPECT_EQ(*scene->white, 1);  // later flashes stay until the movie lowers them
  EXPECT_TRUE(second.whiteBackground()) << second.white;
}

TEST_F(PlaneSceneHeadless, AChannelOfExactlyOneHundredthDrawsNothing) {
  EXPECT_EQ(heldFrame(12.0f, 1, 0.01f).lit, 0);
  EXPECT_GT(heldFrame(12.0f, 1, 0.0101f).lit, 0);
  EXPECT_EQ(heldFrame(12.0f, 2, 0.0f).lit, 0);
}

TEST_F(PlaneSceneHeadless, WithoutQualityTheScrollerIsNotDrawn) {
  const PlaneFrame withScroller = heldFrame(12.0f, 0, 1.0f);
  scene->good = 0;
  const PlaneFrame without = heldFrame(12.0f, 0, 1.0f);
  scene->good = 1;
  // The scroller's lettering is the only white texture in the view.
  EXPECT_GT(withScroller.light, without.light + 10000);
  EXPECT_GT(without.green, 3000);
}

TEST_F(PlaneSceneHeadless, EndsAtThirtyTwoBeatsAndCapturesAtTenSeconds) {
  scene->captured = false;
  EXPECT_EQ(scene->render(9.99f), 0);
  EXPECT_FALSE(scene->captured);
  EXPECT_EQ(scene->render(10.02f), 0);
  EXPECT_TRUE(scene->captured);
  EXPECT_EQ(scene->render(scene->duration - 0.001f), 0);
  EXPECT_NE(scene->render(scene->duration), 0);
}
