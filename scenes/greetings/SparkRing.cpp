// SparkRing: flare-ups, strands, spin and the glow passes.
#include "scenes/greetings/SparkRing.h"

#include <cmath>

#include "gfx/GlExtensions.h"
#include "gfx/LineDrawing.h"
#include "gfx/Random.h"

namespace {

const float kPi = 3.14159265f;
const float kDegrees = 57.29583f;

// Half circles of the band: radius, height, and the direction of travel.
void halfCircle(float radius, float z, bool forwards) {
  for (int k = 0; k <= 30; ++k) {
    const float angle = kPi * float(forwards ? k : 30 - k) / 30.0f;
    glVertex3f(radius * std::cos(angle), radius * std::sin(angle), z);
  }
}

}  // namespace

std::vector<float> SparkRing::noise;
int SparkRing::noiseIndex = 0;
DisplayList* SparkRing::band = nullptr;
int SparkRing::ringsAlive = 0;

SparkRing::SparkRing(float size) : size(size) {
  turn = zolt::randomIn(0.0f, kPi);
  tilt = zolt::randomIn(0.0f, 2.0f * kPi);
  spinTurn = float((zolt::random() % 2) * 2 - 1) * 0.5f;
  spinTilt = float((zolt::random() % 2) * 2 - 1) * 0.5f;
  if (ringsAlive++ == 0) {
    noise.resize(1000);
    for (float& value : noise) value = zolt::randomIn(0.0f, 1.0f);
    noiseIndex = 0;
    band = new DisplayList();
    band->begin();
    glBegin(GL_LINE_STRIP);
    halfCircle(10.0f, 1.0f, true);
    halfCircle(10.0f, -1.0f, false);
    halfCircle(11.0f, 1.0f, true);
    halfCircle(11.0f, -1.0f, false);
    glEnd();
    band->end();
  }
}

SparkRing::~SparkRing() {
  if (--ringsAlive == 0) {
    delete band;
    band = nullptr;
    noise.clear();
  }
}

float SparkRing::nextNoise() {
  const float value = noise[size_t(noiseIndex)];
  noiseIndex = (noiseIndex + 1) % 1000;
  return value;
}

void SparkRing::update(float t) {
  if (lifetime <= 0.0f) {
    lifetime = zolt::random() % 10 != 0 ? 0.0f : zolt::randomIn(0.0f, 2.0f);
  } else {
    const float g = 10.0f * std::sin(lifetime * kPi / 2.0f);
    for (auto& strand : strands) {
      for (int j = 0; j < 5; ++j) {
        const float amplitude = float(2 - std::abs(j - 2)) * 2.5f;
        strand[j][0] = -g + float(j) * g / 2.0f;
        strand[j][1] = amplitude * (nextNoise() - 0.5f);
        strand[j][2] = amplitude * (nextNoise() - 0.5f);
      }
    }
  }
  const float dt = t - lastUpdate;
  lastUpdate = t;
  turn += dt * spinTurn;
  tilt += dt * spinTilt;
}

int SparkRing::render(float t) {
  if (lifetime <= 0.0f) return 0;
  glPushMatrix();
  glRotatef(tilt * kDegrees, 1.0f, 0.0f, 0.0f);
  glRotatef(turn * kDegrees, 0.0f, 0.0f, 1.0f);
  glScalef(size * 0.1f, size * 0.1f, 1.0f);
  const float s = std::sin(lifetime * kPi / 2.0f) * level;
  const float c = dark ? 0.0f : 1.0f;
  const auto drawBand = [] { band->draw(); };
  drawGlow(outputWidth, {8}, {0.0f, c, 0.0f, s * 0.125f}, drawBand);
  drawGlow(outputWidth, {4, 1}, {0.0f, c, 0.0f, s * 0.5f}, drawBand);

  const int passes[3] = {8, 4, 1};
  const float weights[3] = {0.125f, 0.25f, 0.5f};
  for (int p = 0; p < 3; ++p) {
    setLineWidth(glowWidth(outputWidth, passes[p]));
    for (const auto& strand : strands) {
      glBegin(GL_LINE_STRIP);
      for (int j = 0; j < 5; ++j) {
        glColor4f(c, c, c, (1.0f - float(std::abs(j - 2)) / 2.0f) * level * weights[p]);
        glVertex3fv(strand[j]);
      }
      glEnd();
    }
  }
  lifetime -= t - lastRender;
  lastRender = t;
  glPopMatrix();
  return 0;
}
