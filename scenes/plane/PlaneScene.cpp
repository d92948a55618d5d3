// PlaneScene: construction and the frame of scene 1.
#include "scenes/plane/PlaneScene.h"

#include <algorithm>
#include <cmath>

#include "gfx/GlExtensions.h"
#include "gfx/Scene3ds.h"
#include "scenes/plane/CurveTrails.h"
#include "scenes/plane/HeightField.h"
#include "show/ResourceRegistry.h"
#include "swf/swfScript.h"

namespace {

const char* const kCameraNames[4] = {"Camera01", "Camera02", "Camera03", "Camera04"};

// From this beat the grid fades and the trails close into loops.
const float kClosingStart = 28.0f;

}  // namespace

Scene* makePlaneScene(ResourceRegistry* registry) { return new PlaneScene(registry); }

PlaneScene::PlaneScene(ResourceRegistry* registry) : Scene(registry) {
  // NOTE: the order of construction is the order of the shared generator's
  // draws: the key grids first, the trails after.
  duration = secondsAtBeat(32.0f);
  field = new HeightField();
  planeScene = new Scene3ds("plane.3DS", registry);
  planeScene->nearPlane = 5.0f;
  planeScene->farPlane = 400.0f;
  movie = registry->loadSwf("plane.swf");
  for (int k = 0; k < 4; ++k) movie->requestColour(k + 1, channel[k]);
  trails = new CurveTrails();
  // Sharp texels, uncompressed: the filters go after the upload, which
  // sets its own.
  scroller.bind();
  registry->loadJpegTexture("scroller.jpg", 0);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  captureTexture = static_cast<ScreenTexture*>(registry->get("Capture1"));
  captureTime = 10.0f;
}

PlaneScene::~PlaneScene() {
  delete trails;
  delete movie;
  delete planeScene;
  delete field;
}

float PlaneScene::viewLevel(float b, float channelValue) {
  const float v = b >= kClosingStart ? 1.0f - (b - kClosingStart) / 6.0f : channelValue;
  return std::min(1.0f, std::max(0.0f, v));
}

int PlaneScene::render(float t) {
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  linearFog(150.0f, 400.0f);

  const float b = beatsAt(t);
  updateRhythm(t, 3);
  const float level0 = rhythmLevel;
  rhythmLevel = std::fmod(level0 * 10.0f, 10.0f);
  const float level = rhythmLevel;

  // A flash still raised from before this scene is dropped, once a run.
  if (!whiteDropped && flashing()) {
    *white = 0;
    whiteDropped = true;
  }
  if (flashing()) {
    glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
  } else {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  }
  glClear(GL_COLOR_BUFFER_BIT);

  // The landscape rises from flat over the first beat.
  const float rise = b < 1.0f ? (b * b) * (b * b) : 1.0f;
  field->morph(level0 * 6.0f, rise);
  movie->update(b * 4.0f);
  planeScene->setFrame(std::fmod(level * 4.0f, 100.0f));
  for (int k = 0; k < 4; ++k) {
    const float value = channel[k][3];
    if (!(value > channelThreshold)) continue;
    // The last camera pulls away on its own keys while the scene closes.
    if (k == 3 && b > kClosingStart) planeScene->setFrame(80.0f + (b - kClosingStart) * 5.0f);
    planeScene->applyCamera(kCameraNames[k], 640, 480);
    drawView(b, level, value);
  }
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);

  captureOnce(t);
  return t >= duration ? 1 : 0;
}

void PlaneScene::drawView(float b, float level, float v) {
  v = viewLevel(b, v);
  const bool dark = flashing();
  // On the white flash the grid darkens the background instead of lighting it.
  glBlendFunc(GL_SRC_ALPHA, dark ? GL_ONE_MINUS_SRC_ALPHA : GL_ONE);
  const Rgba gridColour = dark ? Rgba{0.0f, 0.0f, 0.0f, v * 0.125f} : Rgba{0.0f, 1.0f, 0.0f, v * 0.125f};
  drawGlow(width, {4, 2}, gridColour, [this] { field->drawLines(); });

  if (!dark) {
    const float close = b < kClosingStart ? 0.0f : std::min((b - kClosingStart) / 4.0f, 1.0f);
    trails->render(width, level, close);
  }

  if (good == 0) return;
  glEnable(GL_TEXTURE_2D);
  scroller.bind();
  glColor4f(1.0f, 1.0f, 1.0f, v * 0.5f);
  field->drawScroller(level);
  glDisable(GL_TEXTURE_2D);
}
