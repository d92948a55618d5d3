// Quaternion: rotations blended along the shortest arc, for things that
// turn from one orientation into another.
#pragma once

struct Quaternion {
  float w = 1.0f, x = 0.0f, y = 0.0f, z = 0.0f;
};

// From the rotation part of a column-major 4x4 matrix (trace method; the
// largest diagonal leads when the trace is not positive). A matrix whose
// rotation cannot be read (a scale near zero) gives the identity.
Quaternion quaternionFromMatrix(const float m[16]);
// Spherical interpolation from a (t = 0) to b (t = 1) the short way round.
Quaternion slerp(const Quaternion& a, const Quaternion& b, float t);
// The column-major 4x4 rotation matrix of a unit quaternion.
void quaternionToMatrix(const Quaternion& q, float m[16]);
