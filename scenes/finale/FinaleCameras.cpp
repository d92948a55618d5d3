// FinaleCameras: camera table, look-at views and the rigid inverse.
#include "scenes/finale/FinaleCameras.h"

#include <cmath>

#include "gfx/MathUtil.h"

namespace finale {

LookAt tentacleCamera(float a) {
  const float p = std::fmod(a, 4.0f);
  if (p < 1.0f) return {Vec3(5.0f * std::cos(a), -1.0f, 5.0f * std::sin(a)), Vec3(0.0f, -1.0f, 0.0f)};
  if (p < 2.0f) return {Vec3(5.0f, -5.0f, 5.0f), Vec3(0.0f, -0.5f, 0.0f)};
  if (p < 3.0f) return {Vec3(7.0f * std::sin(2.0f * a), -7.0f, 7.0f), Vec3(3.0f * std::sin(a), -0.5f, 0.0f)};
  return {Vec3(0.0f, -5.0f, 3.0f), Vec3(0.0f, -1.0f, 0.0f)};
}

void lookAtView(const Vec3& eye, const Vec3& target, float out[16]) {
  const Vec3 back = normalized(eye - target);
  const bool alongY = cross(Vec3(0.0f, 1.0f, 0.0f), back).length() < 1e-4f;
  lookAtRotation(eye, target, alongY ? Vec3(0.0f, 0.0f, -1.0f) : Vec3(0.0f, 1.0f, 0.0f), out);
  // Built like the shadow light's view: translation -R target - R eye, so
  // the camera stands at eye + target (at eye when the target is the origin).
  const Vec3 both = target + eye;
  for (int row = 0; row < 3; ++row) {
    out[12 + row] = -(out[row] * both.x + out[4 + row] * both.y + out[8 + row] * both.z);
  }
}

bool galleryViewEye(const std::string& name, float a, Vec3* eye) {
  if (name == "inside") {
    *eye = Vec3(5.0f * std::cos(a), 0.0f, 5.0f * std::sin(a));
  } else if (name == "circle") {
    *eye = Vec3(50.0f * std::cos(a), 0.0f, 50.0f * std::sin(a));
  } else if (name == "uptop") {
    *eye = Vec3(50.0f, 50.0f, 50.0f);
  } else {
    return false;
  }
  return true;
}

void invertRigid(const float m[16], float out[16]) {
  // Transposed rotation, translation -R^T t.
  for (int col = 0; col < 3; ++col) {
    for (int row = 0; row < 3; ++row) out[col * 4 + row] = m[row * 4 + col];
    out[col * 4 + 3] = 0.0f;
  }
  for (int row = 0; row < 3; ++row) {
    out[12 + row] = -(m[row * 4 + 0] * m[12] + m[row * 4 + 1] * m[13] + m[row * 4 + 2] * m[14]);
  }
  out[15] = 1.0f;
}

}  // namespace finale
