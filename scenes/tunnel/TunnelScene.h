// TunnelScene: scene 3, 32 beats of flight through the tube of rings.
//
// The camera of "tunnel.3DS" flies along the TunnelTube, its keyframe time
// following the rhythm level, so the flight surges with the music. From
// beat 30, and for half a second after every white flash of the rhythm
// movies, the screen distortion ("SimpleDSDT") bends the finished frame,
// more strongly towards the scene's end. Depends on the 3DS adapter, the
// rhythm animations, the registry's pixel buffer, copy texture, distortion
// and line cube.
#pragma once

#include "show/Scene.h"

class Scene3ds;
class TunnelTube;

class TunnelScene : public Scene {
 public:
  explicit TunnelScene(ResourceRegistry* registry);
  ~TunnelScene() override;
  TunnelScene(const TunnelScene&) = delete;
  TunnelScene& operator=(const TunnelScene&) = delete;

  int render(float t) override;

  // The distortion runs from this beat to the end.
  static constexpr float distortionBeat = 30.0f;
  // How long a white flash keeps the distortion on, in seconds.
  static constexpr float flashSeconds = 0.5f;
  // The distortion's amount at local time t: 0 at beat 30, growing to 0.5
  // at the end, negative before.
  float distortionAmount(float t) const;
  // The amount the offset map takes, held within +-0.5 (the most the end
  // reaches): a flash early in the scene, far below zero, would otherwise
  // scatter the frame into noise.
  static float heldAmount(float amount);
  // The offset map's fade for an amount: 1 (still) at 0, less the stronger.
  static float distortionFade(float amount);

  Scene3ds* tunnelScene = nullptr;
  TunnelTube* tube = nullptr;
  float lastTime = 0.0f;
  float flashTimer = 0.0f;  // seconds of distortion left from a flash
  bool whiteReset = false;  // the first raised "white" of the run is dropped
  bool distorted = false;   // the last frame went through the distortion
};

// The show-order factory for slot 3.
Scene* makeTunnelScene(ResourceRegistry* registry);
