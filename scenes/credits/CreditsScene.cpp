// CreditsScene: the block clock, the cut between the cameras, the credits
// picture and the melt into the landscape.
#include "scenes/credits/CreditsScene.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>

#include "gfx/DepthClear.h"
#include "gfx/GlExtensions.h"
#include "gfx/MathUtil.h"
#include "gfx/ScreenQuad.h"
#include "gfx/ScreenTexture.h"
#include "scenes/credits/CreditsCamera.h"
#include "scenes/effects/NameBlocks.h"
#include "show/ResourceRegistry.h"

namespace {

const float kPi = 3.14159f;

// The part of the credits picture shown: its top-left 400 x 160 texels,
// laid over the lower left of the 640 x 480 frame.
const float kCreditsWidth = 400.0f;
const float kCreditsHeight = 160.0f;

// Loads a look-at view: its rotation, then the move to the eye.
void loadView(const float rotation[16], const Vec3& eye) {
  glLoadIdentity();
  glMultMatrixf(rotation);
  glTranslatef(-eye.x, -eye.y, -eye.z);
}

}  // namespace

Scene* makeCreditsScene(ResourceRegistry* registry) { return new CreditsScene(registry); }

float blockClockLevel(float t, float rhythmLevel) { return std::floor(t * 0.25f) * 4.0f + rhythmLevel * 4.0f; }

float creditsPictureAlpha(float b) {
  if (!(b > 2.0f && b < 20.0f)) return 0.0f;
  return std::min(1.0f, 3.0f * std::sin(remap(b, 2.0f, 20.0f, 0.0f, kPi)));
}

CreditsScene::CreditsScene(ResourceRegistry* registry) : Scene(registry) {
  duration = secondsAtBeat(64.0f);
  blocks = new NameBlocks(registry);
  blocks->shadows = good != 0;
  if (registry) captureTexture = static_cast<ScreenTexture*>(registry->get("Capture5"));
  captureTime = 10.0f;
  creditsTexture.bind();
  creditsLoaded = registry && registry->loadPngTexture("zoltcredits.png", 0) == 0;
}

CreditsScene::~CreditsScene() { delete blocks; }

float CreditsScene::stepBlockClock(float t) {
  const float dt = t - lastTime;
  float level = 0.0f;
  for (int i = 1; i <= 4; ++i) {
    // NOTE: the pulse is read at show time, in step with the music the
    // rhythm movies follow.
    updateRhythm(lastTime + float(i) * dt * 0.25f + startTime, 1);
    level = blockClockLevel(t, rhythmLevel);
    rhythmLevel = level;
    blocks->advance(level);
  }
  lastTime = t;
  return level;
}

void CreditsScene::turnOrbit(float level) {
  const float d = level - lastLevel;
  if (std::fabs(d) <= 1.0f) orbitAngle += d;
  lastLevel = level;
}

int CreditsScene::render(float t) {
  const float b = beatsAt(t);
  if (b > 56.0f) {
    drawEnding(endingProgress(b));
    return t >= duration ? 1 : 0;
  }

  const float level = stepBlockClock(t);
  blocks->shadowPass(level);
  turnOrbit(level);

  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, 4.0 / 3.0, 0.1, 300.0);
  glMatrixMode(GL_MODELVIEW);

  if (b >= 32.0f && !resetDone) {
    blocks->resetHeights();
    resetDone = true;
  }

  const CreditsView view = creditsCamera(b, t, orbitAngle);
  float rotation[16];
  creditsViewRotation(view, rotation);
  loadView(rotation, view.eye);
  blocks->blockAlpha = 1.0f;
  blocks->render(t);

  drawCredits(b);
  captureOnce(t);
  return t >= duration ? 1 : 0;
}

void CreditsScene::drawCredits(float b) {
  const float alpha = creditsPictureAlpha(b);
  if (alpha <= 0.0f || !creditsLoaded) return;
  setScreenOrtho(0.0, 640.0, 480.0, 0.0);
  // NOTE: laid over the field whatever depth the field left behind.
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  creditsTexture.bind();
  glEnable(creditsTexture.target);
  glColor4f(1.0f, 1.0f, 1.0f, alpha);
  glBegin(GL_QUADS);
  glTexCoord2f(0.0f, 0.0f);
  glVertex2f(0.0f, 480.0f - kCreditsHeight);
  glTexCoord2f(kCreditsWidth, 0.0f);
  glVertex2f(kCreditsWidth, 480.0f - kCreditsHeight);
  glTexCoord2f(kCreditsWidth, kCreditsHeight);
  glVertex2f(kCreditsWidth, 480.0f);
  glTexCoord2f(0.0f, kCreditsHeight);
  glVertex2f(0.0f, 480.0f);
  glEnd();
  glDisable(creditsTexture.target);
  glEnable(GL_DEPTH_TEST);
}

void CreditsScene::drawEnding(float x) {
  clearDepth(GL_COLOR_BUFFER_BIT);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  const EndingView view = endingView(x);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(view.fieldOfView, 4.0 / 3.0, 0.1, 300.0);
  glMatrixMode(GL_MODELVIEW);
  loadView(view.rotation, view.eye);
  blocks->morph(x);
}
