// LineCubeScene: construction and the frame of scene 2.
#include "scenes/linecube/LineCubeScene.h"

#include <algorithm>
#include <cmath>

#include "gfx/COverlayImage.h"
#include "gfx/GlExtensions.h"
#include "gfx/PixelBuffer.h"
#include "gfx/Scene3ds.h"
#include "gfx/ScreenTexture.h"
#include "gfx/TextureHandle.h"
#include "scenes/effects/LineCube.h"
#include "show/ResourceRegistry.h"
#include "swf/swfScript.h"

namespace {

const char* const kCameraNames[4] = {"Camera01", "Camera02", "Camera03", "Camera04"};
const float kPi = 3.14159f;
const float kDiscHalfSide = 30.0f;

}  // namespace

Scene* makeLineCubeScene(ResourceRegistry* registry) { return new LineCubeScene(registry); }

LineCubeScene::LineCubeScene(ResourceRegistry* registry) : Scene(registry) {
  duration = secondsAtBeat(32.0f);
  captureTexture = static_cast<ScreenTexture*>(registry->get("Capture2"));
  captureTime = 1.0f;
  movie = registry->loadSwf("linecube.swf");
  for (int k = 0; k < 4; ++k) movie->requestColour(k + 1, channel[k]);
  linecubeScene = new Scene3ds("linecube.3ds", registry);
  lineCube = sharedLineCube(registry);
  lineCube->width = width;
  circleMask = static_cast<TextureHandle*>(registry->get("CircleMask"));
  disc.compile();
  overlay1 = new COverlayImage("zolt1.png", registry);
  overlay2 = new COverlayImage("zolt2.png", registry);
  for (COverlayImage* overlay : {overlay1, overlay2}) {
    overlay->drawWidth = width;
    overlay->drawHeight = height;
  }
}

LineCubeScene::~LineCubeScene() {
  delete overlay2;
  delete overlay1;
  delete linecubeScene;
  delete movie;
}

float LineCubeScene::overlayLevel(int overlay, float b) {
  const float from = overlay == 1 ? 4.0f : 20.0f;
  const float to = overlay == 1 ? 16.5f : 28.0f;
  if (!(b > from && b < to)) return 0.0f;
  return std::min(4.0f * std::sin(kPi * (b - from) / (to - from)), 0.75f);
}

int LineCubeScene::render(float t) {
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_FOG);

  updateRhythm(t, 0);
  level0 = rhythmLevel;
  rhythmLevel = level0 * 8.0f;
  lineCube->width = width;
  lineCube->setAngle(level0 * 8.0f);
  renderCube(rhythmLevel);
  // The channels follow the music's level, not the clock.
  movie->update(level0 * 10.0f);
  beats = beatsAt(t);
  viewsDrawn = 0;

  if (beats < closingBeat) {
    linecubeScene->setFrame(std::fmod((t + 15.0f) * 10.0f, 100.0f));
    for (int k = 0; k < 4; ++k) {
      const float value = channel[k][3];
      if (!drawsView(value)) continue;
      linecubeScene->applyCamera(kCameraNames[k], 640, 480);
      viewLevel = lineCube->level = value;
      lineCube->render(rhythmLevel * 0.5f);
      drawView();
      // Each view to the rasteriser as soon as it is drawn, so a software
      // driver fills its pixels while the next one is set up.
      glFlush();
    }
  } else {
    linecubeScene->setFrame(50.0f + (beats - closingBeat) * 49.0f / 4.0f);
    linecubeScene->applyCameraLookAt("Camera05", 640, 480);
    viewLevel = lineCube->level = 1.0f;
    lineCube->render(rhythmLevel * 0.5f);
    drawView();
  }

  // The finale's capture holds no overlay.
  captureOnce(t);

  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  for (int k = 1; k <= 2; ++k) {
    const float level = overlayLevel(k, beats);
    if (level <= 0.0f) continue;
    glColor4f(1.0f, 1.0f, 1.0f, level);
    (k == 1 ? overlay1 : overlay2)->render(t);
  }
  return t >= duration ? 1 : 0;
}

void LineCubeScene::renderCube(float x) {
  pbuffer512->makeCurrent();
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  beginCubeView(90.0);
  lineCube->render(x);
  copyScreen512->copy(0, 0, 0, 0, -1, -1);
  pbuffer512->restore();
}

void LineCubeScene::drawView() {
  ++viewsDrawn;
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glTranslatef(0.0f, 0.0f, -20.0f);

  // The cube's picture on unit 1, cut round by the mask on unit 0.
  glActiveTextureARB(GL_TEXTURE1_ARB);
  copyScreen512->enable();
  copyScreen512->bind();
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glActiveTextureARB(GL_TEXTURE0_ARB);
  glEnable(GL_TEXTURE_2D);
  if (circleMask) circleMask->bind();
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  // A rectangle copy texture is addressed in texels.
  const float s1 = copyScreen512->target == GL_TEXTURE_2D ? 1.0f : float(copyScreen512->width);
  const float t1 = copyScreen512->target == GL_TEXTURE_2D ? 1.0f : float(copyScreen512->height);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  glBegin(GL_QUADS);
  const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  for (const auto& c : corners) {
    glMultiTexCoord2fARB(GL_TEXTURE0_ARB, c[0], c[1]);
    glMultiTexCoord2fARB(GL_TEXTURE1_ARB, c[0] * s1, c[1] * t1);
    glVertex3f(kDiscHalfSide * (2.0f * c[0] - 1.0f), kDiscHalfSide * (2.0f * c[1] - 1.0f), 0.0f);
  }
  glEnd();
  glActiveTextureARB(GL_TEXTURE1_ARB);
  copyScreen512->disable();
  glActiveTextureARB(GL_TEXTURE0_ARB);
  glDisable(GL_TEXTURE_2D);

  const float v = viewLevel;
  drawGlow(width, {8, 4, 1}, {1.0f, 1.0f, 1.0f, v * 0.125f}, [this] { disc.ringList.draw(); });
  disc.drawChain(level0, v);
  glPopMatrix();
}
