// FinaleCameras: the tentacle part's four camera moves and the named views
// of the gallery, as look-at view matrices (y up), no GL.
#pragma once

#include <string>

#include "gfx/Vec3.h"

namespace finale {

struct LookAt {
  Vec3 eye;
  Vec3 target;
};

// The tentacle part's camera at time a; the move is chosen by fmod(a, 4).
LookAt tentacleCamera(float a);
// Column-major view along `target` - `eye` with up (0, 1, 0): rows side, up
// and back, translation -R target - R eye. A view straight along y takes
// (0, 0, -1) as up so the matrix stays a rotation.
void lookAtView(const Vec3& eye, const Vec3& target, float out[16]);
// The eye of a procedural gallery view at time a ("inside", "circle",
// "uptop", all looking at the origin); false for any other name.
bool galleryViewEye(const std::string& name, float a, Vec3* eye);
// Inverse of a rotation-plus-translation matrix (column-major), such as a
// camera matrix: the camera's placement in the world.
void invertRigid(const float m[16], float out[16]);

}  // namespace finale
