// The greetings scene's two effects drawn for real: the spark ring's life
// and brightness, the name card's flight and shrinking.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "gfx/GlExtensions.h"
#include "gfx/Random.h"
#include "scenes/greetings/NameCard.h"
#include "scenes/greetings/SparkRing.h"
#include "support/GlTestContext.h"

namespace {

constexpr int kSize = 200;

// An orthographic view of +-20 units, additive blending, black frame.
void beginFrame() {
  glViewport(0, 0, kSize, kSize);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-20, 20, -20, 20, -50, 50);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

std::vector<unsigned char> readFrame() {
  std::vector<unsigned char> rgb(size_t(kSize) * kSize * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kSize, kSize, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  return rgb;
}

long channelSum(const std::vector<unsigned char>& rgb, int channel) {
  long sum = 0;
  for (size_t i = channel; i < rgb.size(); i += 3) sum += rgb[i];
  return sum;
}

TEST(SparkRing, DeadRingsDrawNothingAndFlareOnlyThroughUpdate) {
  ASSERT_TRUE(testsupport::ensureGlContext());
  zolt::seedRandom(1);
  SparkRing ring(10.0f);
  beginFrame();
  ring.render(0.5f);
  EXPECT_EQ(channelSum(readFrame(), 1), 0);
  EXPECT_EQ(ring.lifetime, 0.0f) << "rendering a dead ring spends nothing";

  // About one update in ten wakes a dead ring, for up to two seconds.
  int flares = 0;
  for (int i = 0; i < 2000; ++i) {
    ring.lifetime = 0.0f;
    ring.update(float(i) * 0.01f);
    if (ring.lifetime > 0.0f) {
      ++flares;
      EXPECT_LT(ring.lifetime, 2.0f);
    }
  }
  EXPECT_GT(flares, 120);
  EXPECT_LT(flares, 290);
}

TEST(SparkRing, BrightnessFollowsTheLifetimeAndStrandsEndOnTheAxis) {
  ASSERT_TRUE(testsupport::ensureGlContext());
  SparkRing ring(10.0f);
  ring.tilt = ring.turn = 0.0f;
  auto greenAt = [&](float lifetime) {
    ring.lifetime = lifetime;
    ring.lastRender = 0.0f;
    beginFrame();
    ring.render(0.0f);
    return channelSum(readFrame(), 1);
  };
  ring.update(0.0f);  // alive now: fills the strands
  const long full = greenAt(1.0f);
  const long half = greenAt(1.0f / 3.0f);  // sin(pi / 6) = 0.5
  const long fading = greenAt(1.98f);
  EXPECT_GT(full, 0);
  EXPECT_LT(fading, full / 10);
  EXPECT_GT(half, full / 3);
  EXPECT_LT(half, full * 3 / 4);

  ring.lifetime = 1.0f;
  ring.update(0.1f);
  for (const auto& strand : ring.strands) {
    EXPECT_FLOAT_EQ(strand[0][0], -10.0f);
    EXPECT_FLOAT_EQ(strand[4][0], 10.0f);
    for (int end : {0, 4}) {
      EXPECT_EQ(strand[end][1], 0.0f);
      EXPECT_EQ(strand[end][2], 0.0f);
    }
  }
  // Rendering spends the time since the last render.
  ring.lastRender = 1.0f;
  ring.render(1.25f);
  EXPECT_NEAR(ring.lifetime, 0.75f, 1e-6f);
}

// Bounding box of the lit pixels: {left, right, bottom, top}.
std::vector<int> litBox(const std::vector<unsigned char>& rgb) {
  std::vector<int> box = {kSize, -1, kSize, -1};
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (rgb[(size_t(y) * kSize + x) * 3] < 32) continue;
      box[0] = std::min(box[0], x);
      box[1] = std::max(box[1], x);
      box[2] = std::min(box[2], y);
      box[3] = std::max(box[3], y);
    }
  }
  return box;
}

TEST(NameCard, FliesInFromTheOffsetAndArrivesAtAnEleventhOfItsSize) {
  ASSERT_TRUE(testsupport::ensureGlContext());
  // A white names texture, so the card's quad is what shows.
  std::vector<unsigned char> white(256 * 256 * 3, 255);
  NameCard::texture.bind();
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 256, 256, 0, GL_RGB, GL_UNSIGNED_BYTE, white.data());
  NameCard::offset[0] = 8.0f;
  NameCard card(1);  // 150 texels wide
  card.additive = true;
  card.level = 1.0f / 0.75f;

  beginFrame();
  card.render(0.0f);
  const std::vector<int> start = litBox(readFrame());
  beginFrame();
  card.render(1.0f);
  const std::vector<int> end = litBox(readFrame());
  ASSERT_GE(start[1], 0);
  ASSERT_GE(end[1], 0);

  const float pixelsPerUnit = kSize / 40.0f;
  // At a = 1: a tenth of 150 / 3 either side of the origin.
  EXPECT_NEAR((end[1] - end[0] + 1) / pixelsPerUnit, 2.0f * 0.1f * 150.0f / 3.0f, 1.0f);
  EXPECT_NEAR((end[3] - end[2] + 1) / pixelsPerUnit, 2.0f * 0.1f * 21.0f / 3.0f, 1.0f);
  EXPECT_NEAR((end[0] + end[1]) / 2.0f, kSize / 2.0f, 1.5f) << "in place at the origin";
  // The start is wider than the view; its height shows the size: 11 times.
  EXPECT_NEAR((start[3] - start[2] + 1) / pixelsPerUnit, 2.0f * 1.1f * 21.0f / 3.0f, 1.0f);
  NameCard::offset[0] = 0.0f;
}

}  // namespace
