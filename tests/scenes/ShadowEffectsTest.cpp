// The shadow-light effects: the blocks' motion rules, the tentacle light's
// three spots, and real frames — a block's shadow on the lit floor exactly
// where the light puts it, the shadowed tentacle ball — kept in captures/.
#include <gtest/gtest.h>

#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "gfx/MathUtil.h"
#include "gfx/Random.h"
#include "gfx/ShadowLight.h"
#include "scenes/effects/NameBlocks.h"
#include "scenes/effects/ShadowedTentacles.h"
#include "show/ResourceRegistry.h"
#include "support/GlTestContext.h"
#include "tools/sceneplayer/PngImage.h"

namespace {

const int kWidth = 640;
const int kHeight = 480;

TEST(NameBlockMotion, TurnsAtTheFloorAndAtTheTopAndResetsByPlace) {
  NameBlock block(0, 0);
  block.height = 8.0f;
  block.speed = NameBlock::fallSpeed;
  block.advance(1.0f / 3.0f, 1.0f);  // exactly to the floor
  EXPECT_EQ(block.height, 0.0f);
  EXPECT_EQ(block.speed, NameBlock::riseSpeed);
  block.advance(-1.0f, 1.0f);  // never below it
  EXPECT_EQ(block.height, 0.0f);

  block.height = 49.0f;
  block.advance(0.125f, 1.0f);  // 49 + 2: over the top by one step
  EXPECT_FLOAT_EQ(block.height, 51.0f);
  EXPECT_EQ(block.speed, NameBlock::fallSpeed);
  block.advance(0.125f, 2.0f);
  EXPECT_FLOAT_EQ(block.height, 45.0f);

  NameBlocks field(nullptr);
  ASSERT_EQ(field.blocks.size(), 256u);
  field.resetHeights();
  auto speedAt = [&](int row, int column) {
    const NameBlock& b = field.blocks[size_t((row + 8) * 16 + column + 8)];
    EXPECT_EQ(b.height, 25.0f);
    return b.speed;
  };
  EXPECT_EQ(speedAt(-2, 0), NameBlock::fallSpeed);   // outside the name rows
  EXPECT_EQ(speedAt(0, 4), NameBlock::fallSpeed);    // outside the columns
  EXPECT_EQ(speedAt(1, 3), NameBlock::riseSpeed);    // row 1 rises
  EXPECT_EQ(speedAt(-1, 2), NameBlock::riseSpeed);
  EXPECT_EQ(speedAt(-1, 3), NameBlock::fallSpeed);
  EXPECT_EQ(speedAt(0, 0), NameBlock::riseSpeed);
  EXPECT_EQ(speedAt(2, 1), NameBlock::fallSpeed);

  // Time moves the field; a jump (a seek) does not.
  field.advance(0.5f);
  const float moved = field.blocks[0].height;
  field.advance(3.0f);
  EXPECT_EQ(field.blocks[0].height, moved);
  EXPECT_FLOAT_EQ(moved, 25.0f - 0.5f * 24.0f);
}

TEST(NameBlockMotion, HeightsAndDirectionsComeFromTheSharedGenerator) {
  zolt::seedRandom(1);
  const NameBlock first(0, 0);
  zolt::seedRandom(1);
  const int heightDraw = zolt::random();
  const int directionDraw = zolt::random();
  EXPECT_FLOAT_EQ(first.height, float(heightDraw % 10000) * 50.0f / 10000.0f);
  EXPECT_EQ(first.speed, directionDraw % 2 == 0 ? NameBlock::riseSpeed : NameBlock::fallSpeed);
}

TEST(TentacleLight, VisitsAllThreeSpotsEachWithItsOwnFlash) {
  float peak[3] = {};
  for (int i = 0; i < 1333; ++i) {
    const float o = float(i) / 1000.0f;
    const int spot = tentacleLightSpot(o);
    peak[spot] = std::max(peak[spot], tentacleLightIntensity(o));
    if (o > 1.001f) {
      EXPECT_LE(tentacleLightIntensity(o), 0.0f) << "the last third is dark, o = " << o;
    }
  }
  for (float p : peak) EXPECT_GT(p, 0.99f);
  EXPECT_EQ(tentacleLightIntensity(0.0f), 0.0f);
  EXPECT_EQ(tentacleLightSpot(0.34f), 1);
  EXPECT_EQ(tentacleLightSpot(0.67f), 2);
  EXPECT_EQ(tentacleLightSpot(1.2f), 2);
}

class ShadowFrames : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testsupport::ensureGlContext(kWidth, kHeight)) GTEST_SKIP() << "no OpenGL context";
    registry.usePack = true;
    registry.good = 1;
    glViewport(0, 0, kWidth, kHeight);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }
  void TearDown() override {
    glDisable(GL_FOG);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glLineWidth(1.0f);
    glColor4f(1, 1, 1, 1);
  }

  void camera(const Vec3& eye, const Vec3& centre) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, double(kWidth) / kHeight, 1.0, 500.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(eye.x, eye.y, eye.z, centre.x, centre.y, centre.z, 0, 1, 0);
  }

  // The ball at a = 2 (the first spot near its peak), seen from in front.
  void poseTentacles(ShadowedTentacles& ball) {
    ball.shadowPass(2.0f, 0.3f);
    ball.spinTo(2.0f);
    camera(Vec3(0, 0, 16), Vec3(0, 0, 0));
  }

  // The frame, top row first, also written to captures/<name>.
  RgbImage readFrame(const std::string& name) {
    RgbImage image{kWidth, kHeight, std::vector<unsigned char>(size_t(kWidth) * kHeight * 3)};
    std::vector<unsigned char> rows(image.rgb.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
    for (int y = 0; y < kHeight; ++y) {
      std::copy_n(&rows[size_t(kHeight - 1 - y) * kWidth * 3], kWidth * 3, image.at(0, y));
    }
    std::filesystem::create_directories("captures");
    writePng("captures/" + name, image);
    return image;
  }

  ResourceRegistry registry;
};

// Mean brightness of the 5 x 5 pixels around where world point p lands.
float brightnessAt(const RgbImage& frame, const Vec3& p, bool* inView) {
  double model[16], projection[16];
  GLint viewport[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, model);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  glGetIntegerv(GL_VIEWPORT, viewport);
  double x, y, z;
  gluProject(p.x, p.y, p.z, model, projection, viewport, &x, &y, &z);
  const int px = int(x), py = kHeight - 1 - int(y);
  *inView = z > 0 && z < 1 && px >= 10 && py >= 10 && px < kWidth - 10 && py < kHeight - 10;
  if (!*inView) return 0.0f;
  float sum = 0;
  for (int dy = -2; dy <= 2; ++dy) {
    for (int dx = -2; dx <= 2; ++dx) {
      const unsigned char* c = frame.at(px + dx, py + dy);
      sum += float(c[0] + c[1] + c[2]) / 3.0f;
    }
  }
  return sum / 25.0f;
}

// Whether the segment a-b passes through the box (slab test).
bool segmentHitsBox(const Vec3& a, const Vec3& b, const Vec3& low, const Vec3& high) {
  float enter = 0.0f, leave = 1.0f;
  const float from[3] = {a.x, a.y, a.z}, to[3] = {b.x, b.y, b.z};
  const float lo[3] = {low.x, low.y, low.z}, hi[3] = {high.x, high.y, high.z};
  for (int k = 0; k < 3; ++k) {
    const float d = to[k] - from[k];
    if (std::fabs(d) < 1e-6f) {
      if (from[k] < lo[k] || from[k] > hi[k]) return false;
      continue;
    }
    float t0 = (lo[k] - from[k]) / d, t1 = (hi[k] - from[k]) / d;
    if (t0 > t1) std::swap(t0, t1);
    enter = std::max(enter, t0);
    leave = std::min(leave, t1);
  }
  return enter <= leave;
}

TEST_F(ShadowFrames, ABlocksShadowDarkensTheLitFloorWhereTheLightCastsIt) {
  NameBlocks field(&registry);
  ASSERT_NE(field.light, nullptr);
  ASSERT_NE(field.light->compare, ShadowCompare::None);
  // One tall block on an empty field, off the name rows.
  for (NameBlock& block : field.blocks) block.height = 0.0f;
  NameBlock& tall = field.blocks[size_t((-2 + 8) * 16 + (-1 + 8))];
  tall.height = 50.0f;
  const Vec3 tallCentre(0.0f, 0.0f, -20.0f);

  // The light behind the field at (0, 75, 50), so the shadow runs to -z
  // through the middle of the spot.
  field.lightAngle = 0.7853982f;
  field.shadowPass(0.0f);
  ASSERT_NEAR(field.light->position.x, 0.0f, 1e-4f);
  ASSERT_NEAR(field.light->position.z, 50.0f, 1e-4f);
  // The map is drawn from the light view's eye, position + target.
  const Vec3 lamp = field.light->position + field.light->target;
  // From the side, so the block hides little of its shadow.
  const Vec3 eye(-70, 80, -45);
  camera(eye, Vec3(0, 0, -45));
  field.render(0.0f);
  const RgbImage frame = readFrame("nameblocks-shadow.png");

  // The centres of the empty blocks' tops (the floor there), each in or out
  // of the tall block's shadow by the light's geometry, boundary cases
  // left out.
  const float half = 10.0f * 0.4761905f;
  std::vector<float> shadowed, lit;
  for (const NameBlock& block : field.blocks) {
    if (&block == &tall || block.carriesName()) continue;
    const Vec3 floor(10.0f * float(block.column + 1), 0.0f, 10.0f * float(block.row));
    const Vec3 toFloor = normalized(floor - lamp);
    const Vec3 axis = normalized(field.light->target - field.light->position);
    if (dot(toFloor, axis) < std::cos(25.0f * 3.14159f / 180.0f)) continue;  // well inside the spot
    const bool inside = segmentHitsBox(lamp, floor, tallCentre + Vec3(-half + 1.5f, 1.5f, -half + 1.5f),
                                       tallCentre + Vec3(half - 1.5f, 48.5f, half - 1.5f));
    const bool nearIt = segmentHitsBox(lamp, floor, tallCentre + Vec3(-half - 4, -1, -half - 4),
                                       tallCentre + Vec3(half + 4, 55, half + 4));
    if (inside != nearIt) continue;
    // Floor hidden from the camera behind the block tells nothing.
    if (segmentHitsBox(eye, floor, tallCentre + Vec3(-half - 2, -1, -half - 2), tallCentre + Vec3(half + 2, 52, half + 2)))
      continue;
    bool inView = false;
    const float brightness = brightnessAt(frame, floor, &inView);
    if (!inView) continue;
    (inside ? shadowed : lit).push_back(brightness);
  }
  ASSERT_GE(shadowed.size(), 2u);
  ASSERT_GE(lit.size(), 6u);
  std::sort(lit.begin(), lit.end());
  const float litMedian = lit[lit.size() / 2];
  EXPECT_GT(litMedian, 60.0f) << "the spot lights the floor";
  for (float s : shadowed) EXPECT_LT(s, 0.5f * litMedian) << "shadow against lit floor " << litMedian;
}

TEST_F(ShadowFrames, NameBlockFieldFramesForTheEye) {
  NameBlocks field(&registry);
  field.resetHeights();
  camera(Vec3(0, 70, 95), Vec3(0, 5, -10));
  // The field after a few seconds of motion, then while it melts.
  for (int frame = 0; frame <= 90; ++frame) {
    const float t = float(frame) / 30.0f;
    field.advance(t);
    field.shadowPass(t);
  }
  glClear(GL_COLOR_BUFFER_BIT);
  field.morph(0.0f);
  const RgbImage still = readFrame("nameblocks-field.png");
  glClear(GL_COLOR_BUFFER_BIT);
  field.morph(0.15f);
  readFrame("nameblocks-morph.png");
  // Close over the name tops.
  camera(Vec3(5, 110, 40), Vec3(5, 0, 5));
  for (NameBlock& block : field.blocks) block.height = 10.0f;
  field.shadowPass(3.05f);
  glClear(GL_COLOR_BUFFER_BIT);
  field.render(0.0f);
  readFrame("nameblocks-names.png");

  long sum = 0;
  for (unsigned char c : still.rgb) sum += c;
  EXPECT_GT(sum / long(still.rgb.size()), 10) << "the field is not dark";
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ShadowFrames, TentacleLightSpotsDepthMapAndFrame) {
  ShadowedTentacles ball(&registry, true, kWidth);
  ASSERT_NE(ball.light, nullptr);
  // a = 3: o = 0.45, the second spot, turned with the ball's spin.
  ball.shadowPass(3.0f, 0.3f);
  float spin[16];
  ringRotation(3.0f, 3.0f, 3.0f, spin);
  const Vec3 expected = rotatePoint(spin, Vec3(-22.0f, -12.702f, 0.0f));
  EXPECT_NEAR((ball.light->position - expected).length(), 0.0f, 1e-4f);
  EXPECT_GT(ball.light->colour[3], 0.8f);

  // At a = 0 the light is off and the depth map keeps what it had.
  const int size = ball.light->mapWidth;
  std::vector<float> before(size_t(size) * size), after(before.size());
  ball.light->depthMap.bind();
  glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, before.data());
  ball.shadowPass(0.0f, 0.0f);
  EXPECT_EQ(ball.intensity, 0.0f);
  ball.light->depthMap.bind();
  glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, after.data());
  EXPECT_EQ(before, after);
  EXPECT_LT(*std::min_element(before.begin(), before.end()), 1.0f) << "the ball is in the map";

  // A lit frame: a = 2 (o = 0.2, the first spot near its peak).
  poseTentacles(ball);
  ball.render(2.0f);
  const RgbImage shadowed = readFrame("tentacles-shadowed.png");
  ball.glow(2.0f);
  readFrame("tentacles-shadowed-glow.png");
  long green = 0;
  for (size_t i = 0; i < shadowed.rgb.size(); i += 3) green += shadowed.rgb[i + 1] > 8;
  EXPECT_GT(green, 500) << "lit lines on the ball";
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// The depth fill skips colour writes only under a blend that keeps the
// frame; one that replaces it still paints the ball black.
TEST_F(ShadowFrames, TentacleDepthFillWritesColourOnlyWhereTheBlendReplaces) {
  ShadowedTentacles ball(&registry, false, kWidth);
  poseTentacles(ball);
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glBlendFunc(GL_ONE, GL_ZERO);
  ball.render(2.0f);
  const RgbImage frame = readFrame("tentacles-fill-replacing.png");
  long painted = 0;
  for (size_t i = 0; i < frame.rgb.size(); i += 3) painted += frame.rgb[i] < 128;
  EXPECT_GT(painted, 500) << "the fill drew no colour";
  GLboolean mask[4] = {GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE};
  glGetBooleanv(GL_COLOR_WRITEMASK, mask);
  EXPECT_TRUE(mask[0] && mask[1] && mask[2] && mask[3]) << "colour writes left off";
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ShadowFrames, TentaclesWithoutShadowsLeaveTheLightAndPixelBufferAlone) {
  ShadowedTentacles ball(&registry, false, kWidth);
  poseTentacles(ball);
  ball.render(2.0f);
  ball.glow(2.0f);
  EXPECT_EQ(registry.resources.count("ShadowLight"), 0u);
  EXPECT_EQ(registry.resources.count("PBuffer512x512"), 0u);
  EXPECT_GT(ball.intensity, 0.9f);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
