// SplinePath: closed uniform cubic B-spline and its arc-length table.
#include "gfx/SplinePath.h"

#include <cmath>

namespace {

// Uniform cubic B-spline basis, each weight already divided by 6.
void basis(float u, float b[4]) {
  float u2 = u * u;
  float u3 = u2 * u;
  float v = 1.0f - u;
  b[0] = v * v * v / 6.0f;
  b[1] = (3.0f * u3 - 6.0f * u2 + 4.0f) / 6.0f;
  b[2] = (-3.0f * u3 + 3.0f * u2 + 3.0f * u + 1.0f) / 6.0f;
  b[3] = u3 / 6.0f;
}

// Index (f + k) wrapped onto 0..n-1, negative parameters included.
int wrapIndex(float f, int k, int n) {
  long i = static_cast<long>(f) + k;
  long m = i % n;
  return static_cast<int>(m < 0 ? m + n : m);
}

}  // namespace

void SplinePath::addPoint(float x, float y, float z) { points.emplace_back(x, y, z); }

Vec3 SplinePath::evaluate(float t) const {
  int n = static_cast<int>(points.size());
  if (n == 0) return Vec3();
  float f = std::floor(t);
  float u = t - f;
  float b[4];
  basis(u, b);
  Vec3 result = points[wrapIndex(f, 0, n)] * b[0] + points[wrapIndex(f, 1, n)] * b[1];
  result = result + points[wrapIndex(f, 2, n)] * b[2];
  return result + points[wrapIndex(f, 3, n)] * b[3];
}

void SplinePath::buildTable() {
  table.clear();
  totalLength = 0.0f;
  int n = static_cast<int>(points.size());
  int s = samplesPerSegment;
  if (n == 0 || s <= 0) return;
  table.assign(static_cast<size_t>(n) * s + 1, PathSample());

  // NOTE: both passes start measuring from the first control point, not from
  // the curve's point at t = 0; the show's paths were timed that way.
  float running = 0.0f;
  Vec3 previous = points[0];
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < s; ++j) {
      Vec3 p = evaluate(static_cast<float>(i) + static_cast<float>(j) / s);
      running += (p - previous).length();
      previous = p;
    }
  }
  totalLength = running;

  float travelled = 0.0f;
  previous = points[0];
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < s; ++j) {
      Vec3 p = evaluate(static_cast<float>(i) + static_cast<float>(j) / s);
      PathSample& sample = table[static_cast<size_t>(i) * s + j];
      sample.distance = totalLength > 0.0f ? n * travelled / totalLength : 0.0f;
      sample.position = p;
      travelled += (p - previous).length();
      previous = p;
    }
  }
  PathSample& last = table[static_cast<size_t>(n) * s];
  last.distance = static_cast<float>(n);
  last.position = points[n - 1];
}
