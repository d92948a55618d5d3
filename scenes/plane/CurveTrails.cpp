// CurveTrails: building the spline pairs and drawing the trails.
#include "scenes/plane/CurveTrails.h"

#include <cmath>

#include "gfx/LineDrawing.h"
#include "gfx/MathUtil.h"
#include "gfx/Random.h"
#include "scenes/effects/SphereLoop.h"

namespace {

const float kSphereRadius = 10.0f;
const float kTrailStep = 0.2f;  // parameter between neighbouring trail points

}  // namespace

CurveTrails::CurveTrails() {
  for (SplinePath& curve : lineCurves) {
    const float g = zolt::randomIn(-5.0f, 5.0f);
    const float f = zolt::randomIn(-320.0f, 320.0f);
    const float h = zolt::randomIn(-5.0f, 5.0f);
    for (int k = 0; k < linePoints; ++k) {
      const float x = g + zolt::randomIn(-5.0f, 5.0f);
      const float z = h + zolt::randomIn(-5.0f, 5.0f) + 10.0f;
      curve.addPoint(x, f - 320.0f + float(k) * 64.0f, z);
    }
  }
  for (SplinePath& curve : loopCurves) buildSphereLoop(curve, kSphereRadius);
}

void CurveTrails::trailPoints(int j, float at, float close, Vec3 out[4]) const {
  for (int i = 0; i < 4; ++i) {
    const float u = at - kTrailStep * float(i);
    out[i] = lerpVec3(close, lineCurves[j].evaluate(u), loopCurves[j].evaluate(u));
  }
}

void CurveTrails::render(int width, float at, float close) const {
  Vec3 points[count][4];
  for (int j = 0; j < count; ++j) trailPoints(j, at, close, points[j]);
  // Head to tail, each segment dimmer; grey-white while racing, green as
  // the trails close into loops.
  const auto segments = [&points, close](float alpha) {
    return [&points, close, alpha] {
      glBegin(GL_LINES);
      for (const Vec3* p : points) {
        for (int i = 0; i < 3; ++i) {
          const float weight = 1.0f - float(i) / 3.0f;
          glColor4f(weight * (1.0f - close), weight + close * (1.0f - weight), weight * (1.0f - close), alpha);
          glVertex3f(p[i].x, p[i].y, p[i].z);
          glVertex3f(p[i + 1].x, p[i + 1].y, p[i + 1].z);
        }
      }
      glEnd();
    };
  };
  const float wideAlpha = (1.0f - close) * 0.125f;
  const float thinAlpha = close / 6.0f + 0.125f;
  drawGlow(width, {8}, {1.0f, 1.0f, 1.0f, wideAlpha}, segments(wideAlpha));
  drawGlow(width, {4, 1}, {1.0f, 1.0f, 1.0f, thinAlpha}, segments(thinAlpha));
}
