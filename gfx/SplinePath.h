// SplinePath: a closed uniform cubic B-spline through a list of control
// points, with an arc-length table for walking it at constant speed.
//
// The curve wraps from the last control point back to the first; one loop
// runs over parameters 0..n for n points and any parameter, negative ones
// included, lands on the loop. The table maps arc length (scaled to 0..n)
// to positions; it is built once at load time.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/Vec3.h"

struct PathSample {
  float distance = 0.0f;  // arc length travelled, scaled so the loop spans 0..n
  Vec3 position;
};

class SplinePath {
 public:
  void addPoint(float x, float y, float z);
  // Point on the closed curve at parameter t; the origin when there are no
  // control points.
  Vec3 evaluate(float t) const;
  // Fills totalLength and table (n * samplesPerSegment + 1 samples). With no
  // control points the table stays empty and the length 0.
  void buildTable();

  std::vector<Vec3> points;
  float totalLength = 0.0f;
  int32_t samplesPerSegment = 100;
  std::vector<PathSample> table;
};
