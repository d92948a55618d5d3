// TitleLines: the title's display lists and its cut drawing.
#include "scenes/opening/TitleLines.h"

#include <cmath>
#include <cstdio>

#include "gfx/GlExtensions.h"
#include "gfx/LineDrawing.h"
#include "gfx/Scene3ds.h"
#include "show/ResourceRegistry.h"
#include "swf/swfScript.h"

namespace {

// Which of the three bar movies cuts each four-beat block.
const int kBarCycle[4] = {0, 1, 0, 2};
const char* const kCameraNames[4] = {"Camera01", "Camera02", "Camera03", "Camera04"};

// The grid under the lettering: 17 lines each way over +-250 in z = 0.
const float kGridHalf = 250.0f;
const float kGridStep = 31.25f;

}  // namespace

int activeBarAt(float x) {
  const int block = int(std::floor(x / 4.0f));
  return kBarCycle[((block % 4) + 4) % 4];
}

TitleLines::TitleLines(ResourceRegistry* registry) {
  {
    Scene3ds lettering("vs.3ds", registry);
    for (int n = 1; n <= 2; ++n) {
      char name[16];
      std::snprintf(name, sizeof name, "Text0%d", n);
      textList[n - 1].begin();
      compileMeshLines(lettering.file, name);
      textList[n - 1].end();
    }
  }
  gridList.begin();
  glBegin(GL_LINES);
  for (int i = 0; i <= 16; ++i) {
    const float a = -kGridHalf + float(i) * kGridStep;
    glVertex3f(-kGridHalf, a, 0.0f);
    glVertex3f(kGridHalf, a, 0.0f);
    glVertex3f(a, -kGridHalf, 0.0f);
    glVertex3f(a, kGridHalf, 0.0f);
  }
  glEnd();
  gridList.end();
  titleScene = new Scene3ds("vs.3ds", registry);
  titleScene->farPlane = 1800.0f;
}

TitleLines::~TitleLines() { delete titleScene; }

int TitleLines::render(float x) {
  titleScene->setFrame(std::fmod(level * 10.0f, 100.0f));
  titleScene->farPlane = 1800.0f;
  swfScript* bar = bars[activeBarAt(x)];
  if (bar) bar->update(std::fmod(x, 4.0f) * 16.0f);

  for (int k = 0; k < 4; ++k) {
    const float channel = channelValue[k] ? *channelValue[k] : 0.0f;
    if (!(channel > 0.0f)) continue;
    const Rgba white = {1.0f, 1.0f, 1.0f, channel * 0.125f};
    titleScene->applyCamera(kCameraNames[k], 640, 480);
    for (int n = 1; n <= 2; ++n) {
      char name[16];
      std::snprintf(name, sizeof name, "Text0%d", n);
      glPushMatrix();
      titleScene->applyNodeTransform(name);
      drawGlow(width, {4, 2}, white, [this, n] { textList[n - 1].draw(); });
      glPopMatrix();
    }
    drawGlow(width, {4, 2}, white, [this] { gridList.draw(); });
  }
  return 0;
}
