// SphereLoop: the random walk over the sphere.
#include "scenes/effects/SphereLoop.h"

#include <cmath>

#include "gfx/Random.h"

void buildSphereLoop(SplinePath& curve, float radius) {
  const float pi = 3.14159265358979f;
  float e = zolt::randomIn(0.0f, pi);
  float a = zolt::randomIn(0.0f, 2.0f * pi);
  for (int k = 0; k < sphereLoopPoints; ++k) {
    curve.addPoint(radius * std::sin(e) * std::cos(a), radius * std::sin(e) * std::sin(a), radius * std::cos(e));
    e = std::fmod(e + zolt::randomIn(0.25f, 0.5f), pi);
    zolt::randomIn(-0.25f, 0.25f);  // drawn and not used: it keeps the sequence
    a = std::fmod(a + 1.0f, 2.0f * pi);
  }
  for (int k = 0; k < 4; ++k) curve.points.push_back(curve.points[size_t(k)]);
}
