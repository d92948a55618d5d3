// SparkRing: a glowing green half-ring band with white lightning strands
// across it. It flares up at random moments, lives up to two seconds at a
// brightness of sin(lifetime x pi / 2) and spins slowly. Owned by the
// greetings scene.
#pragma once

#include <vector>

#include "gfx/DisplayList.h"
#include "gfx/Effect.h"

class SparkRing final : public Effect {
 public:
  explicit SparkRing(float size);
  ~SparkRing();
  SparkRing(const SparkRing&) = delete;
  SparkRing& operator=(const SparkRing&) = delete;

  // A dead ring comes alive with a chance of one in ten; a live one gets
  // new strands. Both spin by the time since the last update.
  void update(float t);
  // Draws only while alive, and spends the time since the last render.
  int render(float t) override;

  float tilt = 0.0f;
  float turn = 0.0f;
  float size = 10.0f;
  bool dark = false;
  float level = 1.0f;
  float lifetime = 0.0f;
  float lastUpdate = 0.0f;
  float lastRender = 0.0f;
  float strands[3][5][3] = {};
  float spinTurn = 0.5f;
  float spinTilt = 0.5f;
  int outputWidth = 640;  // line widths scale from it

  // Shared by every ring while one exists: 1000 random values in [0, 1]
  // read round-robin, and the band as one line strip.
  static std::vector<float> noise;
  static int noiseIndex;
  static DisplayList* band;
  static int ringsAlive;

 private:
  float nextNoise();
};
