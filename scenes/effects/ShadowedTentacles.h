// ShadowedTentacles: the tentacle ball under a flickering light that
// jumps between three spots around it, its lines cut by the ball's own
// shadow, with a glow drawn through the vertex program.
//
// Each frame: shadowPass(a, b) moves the points (CPU path), turns and
// flashes the light and draws the depth map; spinTo(a) sets the
// program path's rings; render(a) draws the lit lines and glow(a) the
// glowing outline. With `shadows` off it never touches the shadow light
// or the pixel buffer. Shared by the finale. Needs a current GL context.
#pragma once

#include "gfx/Effect.h"
#include "gfx/Vec3.h"
#include "scenes/effects/Tentacles.h"

class PixelBuffer;
class ResourceRegistry;
class ShadowLight;
class TextureHandle;

// The light's spot for cycle position o (0 <= o < 4/3): 0, 1 or 2 by
// thirds, 2 in the last third as well.
int tentacleLightSpot(float o);
// The light's brightness at o: one flash per spot (sin 3 pi o, mirrored
// in the second third), dark in the last third (negative there).
float tentacleLightIntensity(float o);

class ShadowedTentacles final : public Effect {
 public:
  static constexpr float farPlane = 38.105f;  // 22 sqrt 3, the spots' span

  // `shadows` and `screenWidth` come from the owner's settings.
  ShadowedTentacles(ResourceRegistry* registry, bool shadows, int screenWidth);
  ~ShadowedTentacles() = default;
  ShadowedTentacles(const ShadowedTentacles&) = delete;
  ShadowedTentacles& operator=(const ShadowedTentacles&) = delete;

  // Points for time b (CPU path), the spin and the light for a; the depth
  // map when the light is on and shadows are.
  void shadowPass(float a, float b);
  // The program path's rings and the spin for a.
  void spinTo(float a);
  // The lit lines: depth first, then two widths of green cut by the shadow.
  int render(float a) override;
  // The glowing outline through the vertex program.
  void glow(float a);

  Tentacles tentacles;
  TextureHandle* circleMask = nullptr;
  Vec3 lightSpots[3] = {Vec3(0.0f, 25.403f, 0.0f), Vec3(-22.0f, -12.702f, 0.0f), Vec3(22.0f, -12.702f, 0.0f)};
  float spin[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  ShadowLight* light = nullptr;
  PixelBuffer* pixelBuffer = nullptr;
  bool shadows;
  int screenWidth;
  float intensity = 0.0f;  // the light's, also without shadows
  Vec3 lightPosition;      // where shadowPass put the light

 private:
  void shadowReceivingDraw();
};
