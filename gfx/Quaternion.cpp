// Quaternion: matrix conversions and spherical interpolation.
#include "gfx/Quaternion.h"

#include <cmath>

namespace {

const float kEpsilon = 1.1920929e-7f;

Quaternion normalised(Quaternion q) {
  const float length = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
  if (length < kEpsilon) return Quaternion{};
  return Quaternion{q.w / length, q.x / length, q.y / length, q.z / length};
}

}  // namespace

Quaternion quaternionFromMatrix(const float m[16]) {
  // m[column * 4 + row]
  const float m00 = m[0], m11 = m[5], m22 = m[10];
  const float trace = m00 + m11 + m22;
  Quaternion q;
  if (trace > 0.0f) {
    const float s = std::sqrt(trace + 1.0f) * 2.0f;
    if (s < kEpsilon) return Quaternion{};
    q = {0.25f * s, (m[6] - m[9]) / s, (m[8] - m[2]) / s, (m[1] - m[4]) / s};
  } else if (m00 > m11 && m00 > m22) {
    const float s = std::sqrt(1.0f + m00 - m11 - m22) * 2.0f;
    if (s < kEpsilon) return Quaternion{};
    q = {(m[6] - m[9]) / s, 0.25f * s, (m[4] + m[1]) / s, (m[8] + m[2]) / s};
  } else if (m11 > m22) {
    const float s = std::sqrt(1.0f + m11 - m00 - m22) * 2.0f;
    if (s < kEpsilon) return Quaternion{};
    q = {(m[8] - m[2]) / s, (m[4] + m[1]) / s, 0.25f * s, (m[9] + m[6]) / s};
  } else {
    const float s = std::sqrt(1.0f + m22 - m00 - m11) * 2.0f;
    if (s < kEpsilon) return Quaternion{};
    q = {(m[1] - m[4]) / s, (m[8] + m[2]) / s, (m[9] + m[6]) / s, 0.25f * s};
  }
  return normalised(q);
}

Quaternion slerp(const Quaternion& a, const Quaternion& b0, float t) {
  Quaternion b = b0;
  float cosine = a.w * b.w + a.x * b.x + a.y * b.y + a.z * b.z;
  if (cosine < 0.0f) {  // the short way round
    cosine = -cosine;
    b = Quaternion{-b.w, -b.x, -b.y, -b.z};
  }
  float wa = 1.0f - t, wb = t;
  if (cosine < 1.0f - 1e-5f) {
    const float angle = std::acos(cosine);
    const float sine = std::sin(angle);
    wa = std::sin((1.0f - t) * angle) / sine;
    wb = std::sin(t * angle) / sine;
  }
  return normalised(Quaternion{wa * a.w + wb * b.w, wa * a.x + wb * b.x, wa * a.y + wb * b.y, wa * a.z + wb * b.z});
}

void quaternionToMatrix(const Quaternion& q, float m[16]) {
  const float xx = q.x * q.x, yy = q.y * q.y, zz = q.z * q.z;
  const float xy = q.x * q.y, xz = q.x * q.z, yz = q.y * q.z;
  const float wx = q.w * q.x, wy = q.w * q.y, wz = q.w * q.z;
  const float r[16] = {
      1 - 2 * (yy + zz), 2 * (xy + wz),     2 * (xz - wy),     0,
      2 * (xy - wz),     1 - 2 * (xx + zz), 2 * (yz + wx),     0,
      2 * (xz + wy),     2 * (yz - wx),     1 - 2 * (xx + yy), 0,
      0,                 0,                 0,                 1,
  };
  for (int i = 0; i < 16; ++i) m[i] = r[i];
}
