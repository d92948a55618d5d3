// TunnelScene: construction and the frame of scene 3.
#include "scenes/tunnel/TunnelScene.h"

#include <algorithm>
#include <cmath>

#include "gfx/GlExtensions.h"
#include "gfx/OffsetMap.h"
#include "gfx/Scene3ds.h"
#include "gfx/ScreenDistortion.h"
#include "scenes/effects/LineCube.h"
#include "scenes/tunnel/TunnelTube.h"
#include "show/ResourceRegistry.h"

namespace {

// The strongest displacement: at amount 0.5 the offset map keeps 1.5% of
// its full swing, some tens of pixels.
const float kFullStrength = 0.03f;

}  // namespace

Scene* makeTunnelScene(ResourceRegistry* registry) { return new TunnelScene(registry); }

TunnelScene::TunnelScene(ResourceRegistry* registry) : Scene(registry) {
  duration = secondsAtBeat(32.0f);
  tunnelScene = new Scene3ds("tunnel.3DS", registry);
  tube = new TunnelTube(sharedLineCube(registry));
  tube->compile();
  tube->width = width;
  captureTexture = static_cast<ScreenTexture*>(registry->get("Capture3"));
  captureTime = 5.0f;
}

TunnelScene::~TunnelScene() {
  delete tube;
  delete tunnelScene;
}

float TunnelScene::distortionAmount(float t) const {
  const float e = secondsAtBeat(distortionBeat);
  return (t - e) / ((duration - e) * 2.0f);
}

float TunnelScene::heldAmount(float amount) { return std::min(0.5f, std::max(-0.5f, amount)); }

float TunnelScene::distortionFade(float amount) {
  // NOTE: the map displaces by (1 - fade); at fade 1 it would not move the
  // frame at all, so the amount sets how far below 1 the fade goes.
  return 1.0f - kFullStrength * std::fabs(heldAmount(amount));
}

int TunnelScene::render(float t) {
  const float dt = t - lastTime;
  lastTime = t;
  // A flash still raised from before this scene is dropped, once a run.
  if (!whiteReset && white && *white != 0) {
    whiteReset = true;
    *white = 0;
  }
  linearFog(150.0f, 250.0f);
  tube->target = pbuffer512;
  tube->texture = copyScreen512;
  updateRhythm(t, 0);
  rhythmLevel *= 10.0f;
  beginAdditiveFrame();

  tunnelScene->setFrame(std::fmod(rhythmLevel * 10.0f, 100.0f));
  tunnelScene->applyCamera("Camera01", 640, 480);
  // NOTE: the far plane takes effect from the next frame's camera.
  tunnelScene->farPlane = 1000.0f;
  tube->camera = tunnelScene->cameraPosition("Camera01");

  glMatrixMode(GL_MODELVIEW);
  glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
  glColor4f(1.0f, 1.0f, 1.0f, 0.125f);
  tube->width = width;
  tube->render(rhythmLevel);
  glDisable(GL_FOG);

  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  const float e = secondsAtBeat(distortionBeat);
  const float v = distortionAmount(t);
  // The flag stays raised until the rhythm movie lowers it; the half
  // second runs from then.
  if (white && *white != 0) flashTimer = flashSeconds;
  distorted = false;
  if (t > e || flashTimer > 0.0f) {
    if (messDsdt) {
      messDsdt->jitter = heldAmount(v);
      messDsdt->fade = distortionFade(v);
    }
    if (simpleDsdt) simpleDsdt->render(t);
    distorted = true;
    flashTimer -= dt;
  }

  captureOnce(t);
  return t >= duration ? 1 : 0;
}
