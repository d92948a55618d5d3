// OpeningScene: construction and the four acts of scene 0.
#include "scenes/opening/OpeningScene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "gfx/GlExtensions.h"
#include "gfx/Scene3ds.h"
#include "scenes/effects/LatticeMesh.h"
#include "scenes/opening/TitleLines.h"
#include "show/ResourceRegistry.h"
#include "swf/swfScript.h"

namespace {

const char* const kCameraNames[4] = {"Camera01", "Camera02", "Camera03", "Camera04"};
const char* const kCloseCamera = "Camera05";
const char* const kModelNode = "Text01";

// Act boundaries in beats.
const float kModelStart = 8.0f;
const float kFootprintStart = 20.0f;
const float kGroundStart = 28.0f;

}  // namespace

Scene* makeOpeningScene(ResourceRegistry* registry) { return new OpeningScene(registry); }

OpeningScene::OpeningScene(ResourceRegistry* registry) : Scene(registry) {
  duration = secondsAtBeat(32.0f);
  model = new LatticeMesh(registry, "zolt.3ds");
  modelScene = new Scene3ds("zolt.3ds", registry);
  modelScene->farPlane = 1800.0f;
  title = new TitleLines(registry);
  title->width = width;
  for (int i = 0; i < 3; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "bar%d.swf", i);
    bars[i] = registry->loadSwf(name);
    // The three bars share the four channel records; only the active one is
    // updated in a frame.
    for (int k = 0; k < 4; ++k) bars[i]->requestColour(k + 1, channel[k]);
    title->bars[i] = bars[i];
  }
  for (int k = 0; k < 4; ++k) title->channelValue[k] = &channel[k][3];
  bar3 = registry->loadSwf("bar3.swf");
  bar3->requestColour(1, bar3Channel);
  captureTexture = static_cast<ScreenTexture*>(registry->get("Capture0"));
  captureTime = secondsAtBeat(27.0f);
}

OpeningScene::~OpeningScene() {
  delete title;
  delete modelScene;
  delete model;
  for (swfScript* bar : bars) delete bar;
  delete bar3;
}

int OpeningScene::render(float t) {
  beginAdditiveFrame();
  updateRhythm(t, 0);
  const float b = beatsAt(t);
  if (b < kModelStart) {
    title->level = rhythmLevel;
    title->render(b);
  } else if (b < kFootprintStart) {
    drawModelCuts(b);
  } else if (b < kGroundStart) {
    drawFootprintAct(b);
  } else {
    drawGroundAct(b);
  }
  captureOnce(t);
  return t >= duration ? 1 : 0;
}

void OpeningScene::drawModelCuts(float b) {
  rhythmLevel *= 10.0f;
  modelScene->setFrame(std::fmod((b - kModelStart) * 20.0f, 120.0f));
  model->update(rhythmLevel * 0.5f);
  bars[activeBarAt(b)]->update(std::fmod(b, 4.0f) * 16.0f);
  for (int k = 0; k < 4; ++k) {
    const float value = channel[k][3];
    if (!(value > 0.0f)) continue;
    modelScene->applyCamera(kCameraNames[k], 640, 480);
    modelScene->applyNodeTransform(kModelNode);
    drawGlow(width, {4, 1}, {0.0f, 1.0f, 0.0f, value * 0.125f}, [this] { model->render(0.0f); });
  }
}

void OpeningScene::drawFootprintAct(float b) {
  model->footprint = true;
  bar3->update((b - kFootprintStart) * 16.0f);
  const float value = bar3Channel[3];
  if (value == 0.0f) return;
  rhythmLevel *= 10.0f;
  model->update(std::fmod(rhythmLevel, 10.0f));
  modelScene->setFrame(std::min((9.0f + (b - kFootprintStart) * 5.0f / 8.0f) * 10.0f, 129.0f));
  modelScene->applyCamera(kCloseCamera, 640, 480);
  modelScene->applyNodeTransform(kModelNode);
  drawGlow(width, {4, 1}, {0.0f, 1.0f, 0.0f, value * 0.125f}, [this] { model->render(0.0f); });
}

void OpeningScene::drawGroundAct(float b) {
  // Over the last four beats the fog closes in from 1000 to 400 while the
  // footprint becomes the ruled square (x runs 0 to 3).
  linearFog(150.0f, 1000.0f + (b - kGroundStart) * (400.0f - 1000.0f) / 4.0f);
  const float x = (b - kGroundStart) * 3.0f / 4.0f;
  modelScene->setFrame(120.0f);
  modelScene->applyCamera(kCloseCamera, 640, 480);
  modelScene->applyNodeTransform(kModelNode);
  const auto ground = [this, x] { model->drawGround(x); };
  drawGlow(width, {4}, {0.0f, 1.0f, 0.0f, 0.125f}, ground);
  drawGlow(width, {1}, {0.0f, 1.0f, 0.0f, 0.25f}, ground);
}
