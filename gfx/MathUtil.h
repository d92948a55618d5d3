// MathUtil: the small numeric helpers scenes use to turn time into motion.
//
// remap maps a value between two ranges without clamping (values outside
// the input range extrapolate); lerp and lerpVec3 blend linearly with t = 0
// giving a and t = 1 giving b.
#pragma once

#include "gfx/Vec3.h"

inline float remap(float x, float inLow, float inHigh, float outLow, float outHigh) {
  return outLow + (x - inLow) * (outHigh - outLow) / (inHigh - inLow);
}

inline float lerp(float t, float a, float b) { return (1.0f - t) * a + t * b; }

inline Vec3 lerpVec3(float t, const Vec3& a, const Vec3& b) {
  return Vec3(lerp(t, a.x, b.x), lerp(t, a.y, b.y), lerp(t, a.z, b.z));
}

// p turned by the upper 3 x 3 of a column-major matrix (no translation).
inline Vec3 rotatePoint(const float m[16], const Vec3& p) {
  return Vec3(m[0] * p.x + m[4] * p.y + m[8] * p.z, m[1] * p.x + m[5] * p.y + m[9] * p.z,
              m[2] * p.x + m[6] * p.y + m[10] * p.z);
}

// The rotation part of a camera looking from `eye` at `target`: rows side,
// up and back, column-major, no translation (the caller translates by
// -eye after multiplying it).
inline void lookAtRotation(const Vec3& eye, const Vec3& target, const Vec3& up, float m[16]) {
  const Vec3 back = normalized(eye - target);
  const Vec3 side = normalized(cross(up, back));
  const Vec3 trueUp = cross(back, side);
  const float r[16] = {side.x, trueUp.x, back.x, 0, side.y, trueUp.y, back.y, 0,
                       side.z, trueUp.z, back.z, 0, 0,      0,        0,      1};
  for (int i = 0; i < 16; ++i) m[i] = r[i];
}
