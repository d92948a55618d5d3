// GreetingsScene: the camera passes, the cards and the inset.
#include "scenes/greetings/GreetingsScene.h"

#include <GL/glu.h>

#include <cmath>
#include <cstring>

#include "gfx/GlExtensions.h"
#include "gfx/MathUtil.h"
#include "gfx/PixelBuffer.h"
#include "gfx/ScreenQuad.h"
#include "gfx/ScreenTexture.h"
#include "scenes/greetings/NameCard.h"
#include "scenes/greetings/SparkRing.h"
#include "show/ResourceRegistry.h"

namespace {

const float kHalfPi = 1.570795f;

}  // namespace

Scene* makeGreetingsScene(ResourceRegistry* registry) { return new GreetingsScene(registry); }

GreetingsScene::GreetingsScene(ResourceRegistry* registry) : Scene(registry) {
  duration = secondsAtBeat(32.0f);
  NameCard::texture.bind();
  if (registry) registry->loadJpegTexture("greets.jpg", 0);
  for (int row = 0; row < 8; ++row) cards.push_back(new NameCard(row));
  for (int i = 0; i < 15; ++i) {
    rings.push_back(new SparkRing(float(i + 10)));
    rings.back()->outputWidth = width;
  }
  if (registry) captureTexture = static_cast<ScreenTexture*>(registry->get("Capture4"));
  captureTime = 1.0f;
}

GreetingsScene::~GreetingsScene() {
  for (SparkRing* ring : rings) delete ring;
  for (NameCard* card : cards) delete card;
  if (NameCard::texture.created) {
    glDeleteTextures(1, &NameCard::texture.name);
    NameCard::texture.created = false;
    NameCard::texture.name = 0;
  }
}

void GreetingsScene::lookFrom(const float from[3], const float at[3]) {
  std::memcpy(eye, from, sizeof eye);
  lookAtRotation(Vec3(from[0], from[1], from[2]), Vec3(at[0], at[1], at[2]), Vec3(0, 1, 0), view);
  glLoadIdentity();
  glMultMatrixf(view);
  glTranslatef(-eye[0], -eye[1], -eye[2]);
}

int GreetingsScene::drawCurrentCard(float level, bool additive) {
  std::memcpy(NameCard::target, view, sizeof view);
  std::memcpy(NameCard::offset, eye, sizeof eye);
  for (int i = 0; i < int(cards.size()); ++i) {
    if (!(float(i) <= cardPhase && cardPhase < float(i + 1))) continue;
    cards[size_t(i)]->additive = additive;
    cards[size_t(i)]->render(cardPhase - float(i));
    cards[size_t(i)]->level = level;  // used from the next draw on
    return i;
  }
  return -1;
}

int GreetingsScene::render(float t) {
  updateRhythm(t, 0);
  const float b = beatsAt(t);
  cardPhase = 0.25f * b;
  const float theta = 10.0f * rhythmLevel;
  rhythmLevel = theta;
  const float s = std::floor(b * 0.125f) * 10.0f + theta;
  for (SparkRing* ring : rings) ring->update(s);

  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(60.0, 4.0 / 3.0, 1.0, 100.0);
  glMatrixMode(GL_MODELVIEW);

  const float c = std::cos(theta), sn = std::sin(theta);
  const float origin[3] = {0, 0, 0};
  const float eyes[4][3] = {{20 * c, 0, 20 * sn}, {10 * c, 0, 0}, {30, 30, 30}, {5 * c, 0, 5 * sn}};
  const float away[3] = {10 * c, 0, 10 * sn};
  for (int k = 0; k < 4; ++k) {
    const float w = std::sin(theta + float(k) * kHalfPi);
    if (!(w > 0.0f)) continue;
    lookFrom(eyes[k], k == 3 ? away : origin);
    for (SparkRing* ring : rings) {
      ring->level = w;
      ring->dark = false;
      ring->render(theta);
    }
    drawCurrentCard(w, false);
    // Each view goes to the rasteriser as soon as it is drawn, so a software
    // driver fills its pixels while the next view (or the inset) is set up.
    glFlush();
  }

  drawInset(theta);
  captureOnce(t);
  return t >= duration ? 1 : 0;
}

void GreetingsScene::drawInset(float theta) {
  if (!pbuffer512 || !copyScreen512) return;
  pbuffer512->makeCurrent();
  glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(60.0, 4.0 / 3.0, 0.1, 500.0);
  glMatrixMode(GL_MODELVIEW);
  const float from[3] = {0, 0, 30};
  const float origin[3] = {0, 0, 0};
  lookFrom(from, origin);
  for (SparkRing* ring : rings) {
    ring->level = 1.0f;
    ring->dark = true;
    ring->render(theta);
  }
  drawCurrentCard(1.0f, true);
  copyScreen512->copy(0, 0, 0, 0, -1, -1);
  pbuffer512->restore();

  setScreenOrtho(0.0, 640.0, 480.0, 0.0);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
  copyScreen512->enable();
  copyScreen512->bind();
  // Rectangle textures are addressed in texels.
  const float s1 = copyScreen512->target == GL_TEXTURE_2D ? 1.0f : float(copyScreen512->width);
  const float t1 = copyScreen512->target == GL_TEXTURE_2D ? 1.0f : float(copyScreen512->height);
  glBegin(GL_QUADS);
  glTexCoord2f(0.0f, 0.0f);
  glVertex2f(430.0f, 10.0f);
  glTexCoord2f(s1, 0.0f);
  glVertex2f(630.0f, 10.0f);
  glTexCoord2f(s1, t1);
  glVertex2f(630.0f, 160.0f);
  glTexCoord2f(0.0f, t1);
  glVertex2f(430.0f, 160.0f);
  glEnd();
  copyScreen512->disable();
  glColor4f(0.0f, 1.0f, 0.0f, 0.5f);
  glBegin(GL_LINE_LOOP);
  glVertex2f(430.0f, 10.0f);
  glVertex2f(630.0f, 10.0f);
  glVertex2f(630.0f, 160.0f);
  glVertex2f(430.0f, 160.0f);
  glEnd();
}
