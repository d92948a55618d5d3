// FinaleTentaclePart: the finale's first 32 beats. The shadowed tentacle
// ball seen from four camera moves, the two line models flashing in on
// end.swf's cues, and a distorted white flash when the rhythm asks for one.
#include <GL/glu.h>

#include "gfx/LineDrawing.h"
#include "gfx/MathUtil.h"
#include "gfx/OffsetMap.h"
#include "gfx/Random.h"
#include "gfx/ScreenDistortion.h"
#include "scenes/effects/LatticeMesh.h"
#include "scenes/effects/ShadowedTentacles.h"
#include "scenes/finale/FinaleCameras.h"
#include "scenes/finale/FinaleScene.h"

namespace {

void setPerspective(double fieldOfView, int width, int height, double farPlane) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(fieldOfView, double(width) / double(height > 0 ? height : 1), 0.1, farPlane);
  glMatrixMode(GL_MODELVIEW);
}

}  // namespace

void FinaleScene::tentaclePart(float a, float b, float t) {
  tentacleBall->shadowPass(a, b);
  setPerspective(45.0, width, height, 100.0);
  glLoadIdentity();
  const finale::LookAt camera = finale::tentacleCamera(a);
  float view[16];
  finale::lookAtView(camera.eye, camera.target, view);
  glMultMatrixf(view);

  tentacleBall->render(a);
  glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
  drawModels(b);

  if (white && *white) {
    flash = 1.0f;
    *white = 0;
  }
  if (flash > 0.0f) {
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (messDsdt) {
      messDsdt->fade = flash;
      messDsdt->jitter = 1.0f;
    }
    if (simpleDsdt) simpleDsdt->render(a);
    flash -= lastTentacleTime < 0.0f ? 0.0f : t - lastTentacleTime;
  }
  lastTentacleTime = t;
}

void FinaleScene::drawModels(float x) {
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(0.0f, -40.0f, 5.0f * x - 150.0f);
  if (channelA[3] > 0.0f) drawModel(modelA, channelA[3], x, 120.0f);
  if (channelB[3] > 0.0f) drawModel(modelB, channelB[3], x, 160.0f);
}

void FinaleScene::drawModel(LatticeMesh* model, float value, float x, float wideAngle) {
  // A wide, thick pass and a narrower, thin one whose shape is jittered.
  setPerspective(wideAngle, width, height, 300.0);
  setLineWidth(float(width / 160));
  glColor4f(1.0f, 1.0f, 1.0f, value * 0.125f);
  model->update(4.0f * x);
  model->render(0.0f);
  setPerspective(100.0, width, height, 300.0);
  setLineWidth(float(width / 320));
  glColor4f(1.0f, 1.0f, 1.0f, value * 0.125f);
  model->update(4.0f * x + remap(float(zolt::random() % 1000), 0.0f, 1000.0f, -2.0f, 2.0f));
  model->render(0.0f);
}
