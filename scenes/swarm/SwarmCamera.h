// SwarmCamera: the swarm's views and the one-beat glide between them.
//
// A view is an eye position and a rotation (world to eye, as a unit
// quaternion); its matrix is the rotation times a move by minus the eye, in
// the GL convention (the eye looks down its -z with y up). The cut state
// follows the movie's "setCamera" commands: a cut to a new name glides from
// the old view to the new one over one beat; a cut to the name already
// shown restarts nothing and switches at once. No GL here.
#pragma once

#include <string>

#include "gfx/Vec3.h"

struct Quat {
  float w = 1.0f, x = 0.0f, y = 0.0f, z = 0.0f;
};

struct SwarmView {
  Vec3 eye;
  Quat rotation;
};

// The view from `eye` looking along `forward` with `up` as near screen-up
// as the direction allows (another up is taken when the two are parallel).
SwarmView lookAlong(const Vec3& eye, const Vec3& forward, const Vec3& up);
// Rotation as a column-major 3x3 matrix and back.
Quat quatFromMatrix(const float m[9]);
void quatToMatrix(const Quat& q, float m[9]);
// Shortest-arc spherical interpolation, w = 0 gives a, w = 1 gives b.
Quat slerp(const Quat& a, Quat b, float w);
// The 4x4 column-major view matrix of a view.
void viewMatrix(const SwarmView& view, float out[16]);
// Eye lerped, rotation slerped by w.
SwarmView blendViews(const SwarmView& from, const SwarmView& to, float w);

struct CameraCuts {
  std::string current = "Camera0";
  std::string previous;
  float transition = 0.0f;  // 1 right after a cut, down to 0 over one beat
  float lastTime = 0.0f;

  // The movie's "setCamera" command.
  void setCamera(const std::string& name) {
    if (current != previous) previous = current;
    current = name;
    transition = 1.0f;
  }
  // True while the frame should blend from `previous` to `current`, by
  // weight 1 - transition; then moves the glide on by `beats`. Else the
  // glide is over and the frame shows `current` alone.
  bool gliding(float beats, float* weight) {
    if (transition > 0.0f && previous != current) {
      *weight = 1.0f - transition;
      transition -= beats;
      return true;
    }
    transition = 0.0f;
    *weight = 1.0f;
    return false;
  }
};
