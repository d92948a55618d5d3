// CurveTrails: scene 1's hundred racing trails.
//
// Each trail is a pair of closed splines: a line curve running along y over
// the height field (near x = 0, about 10 units up) and a loop curve on a
// sphere of radius 10 about the origin. A trail is four points a fifth of a
// parameter apart, blended from the line towards the loop by `close`
// (0 while racing, 1 when the trails have become loops); its head is the
// brightest. Draws from the shared generator at construction: all line
// curves first, then all loop curves. Needs a current GL context to draw.
#pragma once

#include "gfx/SplinePath.h"
#include "gfx/Vec3.h"

class CurveTrails {
 public:
  static constexpr int count = 100;
  static constexpr int linePoints = 10;
  static constexpr int loopPoints = 10;  // four more close the loop

  CurveTrails();

  // The four points of trail j at parameter `at`, blended by `close`.
  void trailPoints(int j, float at, float close, Vec3 out[4]) const;
  // Three glow passes of all trails for output width `width`.
  void render(int width, float at, float close) const;

  SplinePath lineCurves[count];
  SplinePath loopCurves[count];
};
