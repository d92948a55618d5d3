// SwarmCamera: look-along views, quaternions and their blend.
#include "scenes/swarm/SwarmCamera.h"

#include <cmath>

namespace {

Quat normalizedQuat(Quat q) {
  const float n = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
  if (n == 0.0f) return Quat();
  return {q.w / n, q.x / n, q.y / n, q.z / n};
}

}  // namespace

SwarmView lookAlong(const Vec3& eye, const Vec3& forward, const Vec3& up) {
  Vec3 f = normalized(forward);
  if (f.dot(f) == 0.0f) f = Vec3(0.0f, 0.0f, 1.0f);
  Vec3 s = cross(f, up);
  if (s.dot(s) < 1e-8f) s = cross(f, std::fabs(f.z) < 0.9f ? Vec3(0, 0, 1) : Vec3(1, 0, 0));
  s = normalized(s);
  const Vec3 u = cross(s, f);
  // Rows s, u, -f; stored column-major.
  const float m[9] = {s.x, u.x, -f.x, s.y, u.y, -f.y, s.z, u.z, -f.z};
  return {eye, quatFromMatrix(m)};
}

Quat quatFromMatrix(const float m[9]) {
  // m[col * 3 + row]
  auto at = [m](int row, int col) { return m[col * 3 + row]; };
  const float trace = at(0, 0) + at(1, 1) + at(2, 2);
  Quat q;
  if (trace > 0.0f) {
    const float s = std::sqrt(trace + 1.0f) * 2.0f;
    q = {0.25f * s, (at(2, 1) - at(1, 2)) / s, (at(0, 2) - at(2, 0)) / s, (at(1, 0) - at(0, 1)) / s};
  } else if (at(0, 0) > at(1, 1) && at(0, 0) > at(2, 2)) {
    const float s = std::sqrt(1.0f + at(0, 0) - at(1, 1) - at(2, 2)) * 2.0f;
    q = {(at(2, 1) - at(1, 2)) / s, 0.25f * s, (at(0, 1) + at(1, 0)) / s, (at(0, 2) + at(2, 0)) / s};
  } else if (at(1, 1) > at(2, 2)) {
    const float s = std::sqrt(1.0f + at(1, 1) - at(0, 0) - at(2, 2)) * 2.0f;
    q = {(at(0, 2) - at(2, 0)) / s, (at(0, 1) + at(1, 0)) / s, 0.25f * s, (at(1, 2) + at(2, 1)) / s};
  } else {
    const float s = std::sqrt(1.0f + at(2, 2) - at(0, 0) - at(1, 1)) * 2.0f;
    q = {(at(1, 0) - at(0, 1)) / s, (at(0, 2) + at(2, 0)) / s, (at(1, 2) + at(2, 1)) / s, 0.25f * s};
  }
  return normalizedQuat(q);
}

void quatToMatrix(const Quat& q, float m[9]) {
  const float w = q.w, x = q.x, y = q.y, z = q.z;
  m[0] = 1 - 2 * (y * y + z * z);
  m[1] = 2 * (x * y + w * z);
  m[2] = 2 * (x * z - w * y);
  m[3] = 2 * (x * y - w * z);
  m[4] = 1 - 2 * (x * x + z * z);
  m[5] = 2 * (y * z + w * x);
  m[6] = 2 * (x * z + w * y);
  m[7] = 2 * (y * z - w * x);
  m[8] = 1 - 2 * (x * x + y * y);
}

Quat slerp(const Quat& a, Quat b, float w) {
  float d = a.w * b.w + a.x * b.x + a.y * b.y + a.z * b.z;
  if (d < 0.0f) {  // the shorter way round
    b = {-b.w, -b.x, -b.y, -b.z};
    d = -d;
  }
  float ka = 1.0f - w, kb = w;
  if (d < 0.9995f) {
    const float angle = std::acos(d), s = std::sin(angle);
    ka = std::sin((1.0f - w) * angle) / s;
    kb = std::sin(w * angle) / s;
  }
  return normalizedQuat({ka * a.w + kb * b.w, ka * a.x + kb * b.x, ka * a.y + kb * b.y, ka * a.z + kb * b.z});
}

void viewMatrix(const SwarmView& view, float out[16]) {
  float r[9];
  quatToMatrix(view.rotation, r);
  for (int col = 0; col < 3; ++col) {
    for (int row = 0; row < 3; ++row) out[col * 4 + row] = r[col * 3 + row];
    out[col * 4 + 3] = 0.0f;
  }
  for (int row = 0; row < 3; ++row) {
    out[12 + row] = -(r[row] * view.eye.x + r[3 + row] * view.eye.y + r[6 + row] * view.eye.z);
  }
  out[15] = 1.0f;
}

SwarmView blendViews(const SwarmView& from, const SwarmView& to, float w) {
  const Vec3 eye = from.eye * (1.0f - w) + to.eye * w;
  return {eye, slerp(from.rotation, to.rotation, w)};
}
