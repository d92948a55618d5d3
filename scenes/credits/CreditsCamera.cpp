// CreditsCamera: the camera table of the block field and the ending's
// swing between two views.
#include "scenes/credits/CreditsCamera.h"

#include <algorithm>
#include <cmath>

#include "gfx/MathUtil.h"
#include "gfx/Quaternion.h"
#include "scenes/effects/NameBlocks.h"

namespace {

const Vec3 kFieldCentre(0.0f, 5.0f, 0.0f);
const Vec3 kUp(0.0f, 1.0f, 0.0f);
// Seen from straight above, the far rows of the field sit at the top.
const Vec3 kNorth(0.0f, 0.0f, -1.0f);

// The cut within each twelve beats: camera k from beat kStart[k] on.
const float kCameraStart[4] = {0.0f, 4.0f, 6.0f, 10.0f};

}  // namespace

int creditsCameraIndex(float b) {
  const float u = std::fmod(b, 12.0f);
  int index = 0;
  for (int k = 1; k < 4; ++k) {
    if (u >= kCameraStart[k]) index = k;
  }
  return index;
}

CreditsView creditsCamera(float b, float t, float orbitAngle) {
  const float h = NameBlocks::maxHeight;
  switch (creditsCameraIndex(b)) {
    case 0:
      return {Vec3(20.0f * std::cos(orbitAngle), 2.0f * h, 20.0f * std::sin(orbitAngle)), kFieldCentre, kUp};
    case 1:
      return {Vec3(15.0f, (0.25f * std::sin(orbitAngle) + 1.35f) * h, 15.0f), kFieldCentre, kUp};
    case 2:
      return {Vec3(-25.0f * std::cos(t), 2.0f * h, 55.0f), kFieldCentre, kUp};
    default:
      return {Vec3(0.0f, 2.0f * h, 0.0f), kFieldCentre, kNorth};
  }
}

void creditsViewRotation(const CreditsView& view, float m[16]) {
  lookAtRotation(view.eye, view.centre, view.up, m);
}

CreditsView endingViewA() {
  return {Vec3(0.0f, 2.0f * NameBlocks::maxHeight, 0.0f), kFieldCentre, kNorth};
}

CreditsView endingViewB() { return {Vec3(0.0f, 4.0f, 40.0f), Vec3(0.0f, 0.0f, 0.0f), kUp}; }

EndingView endingView(float x) {
  const CreditsView a = endingViewA(), b = endingViewB();
  float ma[16], mb[16];
  creditsViewRotation(a, ma);
  creditsViewRotation(b, mb);
  EndingView view;
  quaternionToMatrix(slerp(quaternionFromMatrix(ma), quaternionFromMatrix(mb), x), view.rotation);
  view.eye = lerpVec3(x, a.eye, b.eye);
  view.fieldOfView = lerp(x, 45.0f, 60.0f);
  return view;
}

float endingProgress(float b) { return remap(std::min(b, 64.0f), 56.0f, 64.0f, 0.0f, 1.0f); }
