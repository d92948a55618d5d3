// Vec3: the three-float vector every scene and effect passes around.
//
// Plain single-precision data with the usual operations. Division by zero
// gives the zero vector rather than infinities, so a degenerate direction
// never poisons the matrices built from it.
#pragma once

#include <cmath>

struct Vec3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;

  Vec3() = default;
  Vec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

  void set(float x_, float y_, float z_) {
    x = x_;
    y = y_;
    z = z_;
  }

  float length() const { return std::sqrt(x * x + y * y + z * z); }
  float dot(const Vec3& o) const { return x * o.x + y * o.y + z * o.z; }

  // Divides by the length in place. NOTE: the caller guarantees a non-zero
  // vector; use normalized() where zero may occur.
  void normalize() {
    float len = length();
    x /= len;
    y /= len;
    z /= len;
  }

  Vec3 operator+(const Vec3& o) const { return Vec3(x + o.x, y + o.y, z + o.z); }
  Vec3 operator-(const Vec3& o) const { return Vec3(x - o.x, y - o.y, z - o.z); }
  Vec3 operator-() const { return Vec3(-x, -y, -z); }
  Vec3 operator*(float s) const { return Vec3(x * s, y * s, z * s); }
  Vec3 operator/(float s) const {
    if (s == 0.0f) return Vec3();
    return Vec3(x / s, y / s, z / s);
  }
  Vec3& operator+=(const Vec3& o) { return *this = *this + o; }
  Vec3& operator-=(const Vec3& o) { return *this = *this - o; }
  Vec3& operator*=(float s) { return *this = *this * s; }
  Vec3& operator/=(float s) { return *this = *this / s; }

  // Exact comparison of all three components.
  bool operator==(const Vec3& o) const { return x == o.x && y == o.y && z == o.z; }
  bool operator!=(const Vec3& o) const { return !(*this == o); }
};

inline Vec3 operator*(float s, const Vec3& v) { return v * s; }

inline float dot(const Vec3& a, const Vec3& b) { return a.dot(b); }

// v divided by its length, or v unchanged when its length is zero.
inline Vec3 normalized(const Vec3& v) {
  float sq = v.dot(v);
  if (sq == 0.0f) return v;
  return v / std::sqrt(sq);
}

inline Vec3 cross(const Vec3& a, const Vec3& b) {
  return Vec3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}
