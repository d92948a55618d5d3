// FinaleScene: loading, the clock and the hand-over between the acts.
#include "scenes/finale/FinaleScene.h"

#include <cmath>
#include <cstdio>

#include "gfx/DepthClear.h"
#include "gfx/NvParse.h"
#include "gfx/ScreenDistortion.h"
#include "gfx/ScreenTexture.h"
#include "gfx/Scene3ds.h"
#include "scenes/effects/LatticeMesh.h"
#include "scenes/effects/ShadowedTentacles.h"
#include "scenes/finale/FinaleClock.h"
#include "show/ResourceRegistry.h"
#include "swf/swfScript.h"

Scene* makeFinaleScene(ResourceRegistry* registry) { return new FinaleScene(registry); }

FinaleScene::FinaleScene(ResourceRegistry* registry) : Scene(registry) {
  duration = secondsAtBeat(finale::kLengthInBeats);
  captureTexture = static_cast<ScreenTexture*>(registry->get("Capture7"));
  captureTime = secondsAtBeat(2.5f);
  modelA = new LatticeMesh(registry, "t-rov.3ds");
  modelB = new LatticeMesh(registry, "qz5.3ds");

  cueMovie = registry->loadSwf("end.swf");
  cueMovie->requestColour(1, channelA);
  cueMovie->requestColour(2, channelB);
  panelMovie = registry->loadSwf("tentacle.swf");
  panelMovie->registerCommand("setCamera", [this](SwfMovie*, SwfArguments arguments) {
    onSetCamera(arguments);
    return 0;
  });

  tentacleBall = new ShadowedTentacles(registry, good != 0, width);
  panelScene = new Scene3ds("tentacle.3DS", registry);
  flightScene = new Scene3ds("tentacle2.3DS", registry);
  viewTexture = copyScreen640;
  viewTexture2 = static_cast<ScreenTexture*>(registry->get("CopyScreen640x480b"));

  for (int k = 0; k < 8; ++k) {
    char name[16];
    std::snprintf(name, sizeof name, "Capture%d", k);
    captures[k] = static_cast<ScreenTexture*>(registry->get(name));
    panelTextures[k] = captures[k] ? captures[k]->name : 0;
  }
  glGenTextures(1, &endPicture);
  glBindTexture(GL_TEXTURE_RECTANGLE_NV, endPicture);
  if (registry->loadPngTexture("zoltend.png", 0) != 0) std::printf("finale: zoltend.png not loaded\n");
  panelTextures[finale::kEndPanel] = endPicture;

  if (isNvidia) {
    for (int rectangle = 0; rectangle < 2; ++rectangle) {
      panelPrograms[rectangle].begin();
      nvparse(ScreenDistortion::programText(rectangle != 0));
      panelPrograms[rectangle].end();
    }
  }
  // Also on NVIDIA when the fragment program path is forced.
  if (messDsdt && messDsdt->floatTexture) {
    for (int rectangle = 0; rectangle < 2; ++rectangle)
      panelFragmentPrograms[rectangle].load(ScreenDistortion::programText(rectangle != 0));
  }
}

FinaleScene::~FinaleScene() {
  if (endPicture != 0) glDeleteTextures(1, &endPicture);
  delete flightScene;
  delete panelScene;
  delete tentacleBall;
  delete panelMovie;
  delete cueMovie;
  delete modelB;
  delete modelA;
}

void FinaleScene::onSetCamera(const SwfArguments& arguments) {
  // NOTE: a command without a name has nothing to show; it is ignored.
  if (arguments.size() < 2) return;
  views.setCamera(arguments[1]);
}

int FinaleScene::render(float t) {
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  clearDepth(GL_COLOR_BUFFER_BIT);
  glDisable(GL_FOG);
  tempo = 130.0f;

  const float b = beatsAt(t);
  const float c = finale::finaleClock(b);
  if (b >= finale::kAccelerationStart && accelerationStartTime < 0.0f) accelerationStartTime = t;
  updateRhythm(t, 2);
  const float v = rhythmLevel + std::floor(c) * 0.5f;
  rhythmLevel = v;

  switch (finale::finaleActAt(c)) {
    case finale::FinaleAct::Tentacles:
      cueMovie->update(std::fmod(8.0f * c, 48.0f));
      tentaclePart(c, v, t);
      break;
    case finale::FinaleAct::Gallery:
      if (!galleryStarted) {
        galleryStarted = true;
        galleryStartTime = t + v;
      }
      galleryPart(c - finale::kGalleryStart, t - galleryStartTime);
      break;
    case finale::FinaleAct::Black:
      glClear(GL_COLOR_BUFFER_BIT);
      glDisable(GL_DEPTH_TEST);
      glEnable(GL_BLEND);
      glBlendFunc(GL_SRC_ALPHA, GL_ONE);
      break;
  }
  captureOnce(t);
  return t >= duration ? 1 : 0;
}
