// FinaleGallery: the finale's gallery. "tentacle2.3DS"'s "Camera01" flies
// past framed panels; tentacle views are rendered into textures first, then
// the panels are drawn in front of the camera (or, during a flight, where
// the camera was and where it will be).
#include <GL/glu.h>

#include <cmath>

#include "gfx/LineDrawing.h"
#include "gfx/DepthClear.h"
#include "gfx/OffsetMap.h"
#include "gfx/Random.h"
#include "gfx/Scene3ds.h"
#include "gfx/ScreenDistortion.h"
#include "gfx/ScreenTexture.h"
#include "scenes/effects/ShadowedTentacles.h"
#include "scenes/finale/FinaleCameras.h"
#include "scenes/finale/FinaleClock.h"
#include "scenes/finale/FinaleScene.h"
#include "scenes/finale/PanelDrawing.h"
#include "swf/swfScript.h"

namespace {

const float kFlightFramesPerSecond = 10.0f;
const float kPanelDistance = 1.8f;
const float kShownFade = 0.95f;

}  // namespace

void FinaleScene::galleryPart(float e, float s) {
  tentacleBall->spinTo(s);
  if (e > finale::kDistortedPanelsAfter) panelsDistorted = true;
  if (e > finale::kEndPanelAfter) endReached = true;
  panelMovie->update(finale::panelMoviePosition(e));
  flightScene->setFrame(kFlightFramesPerSecond * secondsAtBeat(e));

  if (views.transition > 0.0f) {
    if (views.transitionStarting()) takeTransitionPlacements(e);
    renderView(s, views.previousView, viewTexture);
    renderView(s, views.currentView, viewTexture2);
  } else {
    renderView(s, views.currentView, viewTexture);
  }

  clearDepth();
  flightScene->applyCamera("Camera01", 640, 480);
  panelOffsetTime = e * e;

  if (views.transition > 0.0f) {
    placePanel(startPlacement, views.previousView, viewTexture);
    placePanel(endPlacement, views.currentView, viewTexture2);
    views.advance(lastGalleryBeat < 0.0f ? 0.0f : e - lastGalleryBeat);
  } else {
    float placement[16];
    cameraPlacement(placement);
    placePanel(placement, views.currentView, viewTexture);
    views.transition = 0.0f;
  }
  lastGalleryBeat = e;

  if (e > finale::kEndPanelAfter) drawEndFrame(e);
}

void FinaleScene::cameraPlacement(float placement[16]) const {
  float camera[16];
  flightScene->cameraMatrix("Camera01", camera);
  finale::invertRigid(camera, placement);
}

void FinaleScene::pushPanelPlacement(const float placement[16]) const {
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glMultMatrixf(placement);
  glTranslatef(0.0f, kPanelDistance, 0.0f);
  glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
}

void FinaleScene::takeTransitionPlacements(float e) {
  cameraPlacement(startPlacement);
  flightScene->setFrame(kFlightFramesPerSecond * secondsAtBeat(e + finale::kTransitionBeats));
  cameraPlacement(endPlacement);
  // The draw keeps the shared sequence in step with the show; its value is unused.
  zolt::random();
  flightScene->setFrame(kFlightFramesPerSecond * secondsAtBeat(e));
}

void FinaleScene::renderView(float a, const std::string& name, ScreenTexture* texture) {
  if (finale::isCaptureName(name) || !texture) return;
  glClear(GL_COLOR_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0.0, width, height, 0.0, 0.0, 10.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();

  Vec3 eye;
  if (name == "Camera0") {
    panelScene->setFrame(std::fmod(15.0f * a, 100.0f));
    panelScene->applyCamera("Camera0", 640, 480);
  } else if (finale::galleryViewEye(name, a, &eye)) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, double(width) / double(height > 0 ? height : 1), 0.1, 150.0);
    glMatrixMode(GL_MODELVIEW);
    float view[16];
    finale::lookAtView(eye, Vec3(0.0f, 0.0f, 0.0f), view);
    glLoadMatrixf(view);
  }
  glScalef(7.0f, 7.0f, 7.0f);
  tentacleBall->glow(a);
  texture->copy(0, 0, 0, 0, -1, -1);
}

void FinaleScene::placePanel(const float placement[16], const std::string& name, ScreenTexture* texture) {
  pushPanelPlacement(placement);
  drawPanel(name, texture);
  glPopMatrix();
}

PanelPicture FinaleScene::capturePicture(int k) const {
  PanelPicture picture;
  picture.texture = panelTextures[k];
  if (k == finale::kEndPanel) {
    picture.target = GL_TEXTURE_RECTANGLE_NV;
    picture.topRowFirst = true;
  } else if (captures[k]) {
    picture.target = captures[k]->target;
  }
  picture.extent = finale::panelTexelExtent(k, picture.target != GL_TEXTURE_2D, width, height);
  return picture;
}

void FinaleScene::drawDisplaced(const PanelPicture& picture) {
  const int rectangle = picture.target != GL_TEXTURE_2D ? 1 : 0;
  if (isNvidia && messDsdt && messDsdt->nvidia) {
    drawDisplacedPanelNv(picture, *messDsdt, panelPrograms[rectangle]);
  } else if (messDsdt && messDsdt->floatTexture && panelFragmentPrograms[rectangle].ready) {
    drawDisplacedPanelProgram(picture, *messDsdt, panelFragmentPrograms[rectangle]);
  } else {
    drawDisplacedPanel(picture, messDsdt);
  }
}

void FinaleScene::drawPanel(const std::string& name, ScreenTexture* texture) {
  glPushMatrix();
  glScalef(1.0f, float(height) / float(width), 1.0f);
  const int k = finale::capturePanelIndex(name);
  if (k >= 0) {
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    if (messDsdt) {
      messDsdt->fade = k == finale::kEndPanel && endReached ? 1.0f : kShownFade;
      messDsdt->update(panelOffsetTime);
    }
    drawDisplaced(capturePicture(k));
  } else if (!finale::isCaptureName(name) && texture) {
    PanelPicture picture;
    picture.target = texture->target;
    picture.texture = texture->name;
    picture.extent = finale::panelTexelExtent(0, texture->target != GL_TEXTURE_2D, width, height);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (panelsDistorted) {
      if (messDsdt) {
        messDsdt->fade = kShownFade;
        messDsdt->update(panelOffsetTime);
      }
      drawDisplaced(picture);
    } else {
      drawPlainPanel(picture);
    }
  }
  drawPanelOutline(width);
  glPopMatrix();
}

void FinaleScene::drawEndFrame(float e) {
  glDisable(GL_BLEND);
  glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
  setLineWidth(float(width / 160));
  // The frame sits where the panel in front of the camera sits.
  float placement[16];
  cameraPlacement(placement);
  pushPanelPlacement(placement);
  glScalef(1.0f, float(width) / float(height), 1.0f);
  drawPanelSquareLoop();
  glPopMatrix();
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glEnable(GL_BLEND);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  if (messDsdt) {
    messDsdt->fade = finale::endDissolveFade(e);
    messDsdt->jitter = 1.0f;
  }
  if (simpleDsdt) simpleDsdt->render(e * e);
}
