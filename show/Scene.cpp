// Scene: resources every scene borrows, the rhythm level and the capture.
#include "show/Scene.h"

#include <cmath>

#include "gfx/GlExtensions.h"
#include "gfx/ImageLoading.h"
#include "gfx/ScreenTexture.h"
#include "show/ResourceRegistry.h"

namespace {

// The resources every scene holds, fetched in this order ("Rhythm0" makes
// all four animations and the shared values).
const char* const kRhythmNames[4] = {"Rhythm0", "Rhythm1", "Rhythm2", "Rhythm3"};

int settingOr(ResourceRegistry* registry, const char* name, int fallback) {
  const int* value = static_cast<const int*>(registry->get(name));
  return value ? *value : fallback;
}

}  // namespace

Scene::Scene(ResourceRegistry* registry) : registry(registry) {
  if (!registry) return;
  for (int i = 0; i < 4; ++i) rhythm[i] = static_cast<RhythmAnimation*>(registry->get(kRhythmNames[i]));
  pbuffer512 = static_cast<PixelBuffer*>(registry->get("PBuffer512x512"));
  copyScreen512 = static_cast<ScreenTexture*>(registry->get("CopyScreen512x512"));
  copyScreen640 = static_cast<ScreenTexture*>(registry->get("CopyScreen640x480"));
  simpleDsdt = static_cast<ScreenDistortion*>(registry->get("SimpleDSDT"));
  messDsdt = static_cast<OffsetMap*>(registry->get("MessDSDT"));
  interp = static_cast<float*>(registry->get("interp"));
  verts = static_cast<float*>(registry->get("verts"));
  white = static_cast<int*>(registry->get("white"));
  good = settingOr(registry, "Good", 0);
  width = settingOr(registry, "Width", 640);
  height = settingOr(registry, "Height", 480);
  isNvidia = ::isNvidia();
}

void Scene::updateRhythm(float t, int index) {
  const float phase = std::fmod(beatsAt(t) * 16.0f, 128.0f);
  if (index >= 0 && index < 4 && rhythm[index]) updateRhythmAnimation(rhythm[index], phase);
  // NOTE: without the shared values (no rhythm files) the level rests at
  // its floor instead of reading through a null pointer.
  const float corner = verts ? verts[0] : 0.0f;
  const float position = interp ? interp[0] : 0.0f;
  rhythmLevel = (corner + position + 0.5f) / 640.0f;
}

void Scene::captureOnce(float t) {
  if (t > captureTime && !captured) {
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (captureTexture) captureTexture->copy(0, 0, 0, 0, -1, -1);
    captured = true;
  }
}
