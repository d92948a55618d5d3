// LoadingScreen: progress frames over the loading picture.
#include "show/LoadingScreen.h"

#include <cstdio>

#include "gfx/GlExtensions.h"
#include "gfx/ScreenQuad.h"
#include "gfx/TextureHandle.h"
#include "platform/Clock.h"
#include "platform/Window.h"
#include "show/Demo.h"
#include "show/ResourceRegistry.h"

// The loading picture "zoltload.png" (640 x 480, a rectangle texture). The
// handle lives as long as the process; its texture only while loading.
static TextureHandle loadingTexture(GL_TEXTURE_RECTANGLE_NV);

// Where the bar sits on the 640 x 480 loading picture.
static const float barLeftPixel = 101.0f;
static const float barSpanPixels = 406.0f;

static void clearAndPresent() {
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glFlush();
  platform::swapBuffers();
}

void drawProgressFrame(float x) {
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  if (loadingTexture.created) {
    // The picture over the whole view, addressed in texels.
    loadingTexture.bind();
    glEnable(GL_TEXTURE_RECTANGLE_NV);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(0.0f, 0.0f);
    glTexCoord2f(640.0f, 0.0f);
    glVertex2f(1.0f, 0.0f);
    glTexCoord2f(640.0f, 480.0f);
    glVertex2f(1.0f, 1.0f);
    glTexCoord2f(0.0f, 480.0f);
    glVertex2f(0.0f, 1.0f);
    glEnd();
    glDisable(GL_TEXTURE_RECTANGLE_NV);
  }
  const float xEnd = ((x + 1.0f) * 0.1f * barSpanPixels + barLeftPixel) * 0.0015625f;
  glBegin(GL_QUADS);
  glVertex2f(barLeftPixel / 640.0f, 221.0f / 480.0f);
  glVertex2f(xEnd, 221.0f / 480.0f);
  glVertex2f(xEnd, 240.0f / 480.0f);
  glVertex2f(barLeftPixel / 640.0f, 240.0f / 480.0f);
  glEnd();
  glFlush();
  platform::swapBuffers();
}

void runLoadingSequence(Demo& demo, int startScene, unsigned pauseMs) {
  clearAndPresent();

  setScreenOrtho(0.0, 1.0, 1.0, 0.0);

  loadingTexture.bind();
  // The bar is drawn either way; a missing picture had its own message, a
  // broken one its decoder's line, and this says what the viewer will see.
  if (demo.registry->loadPngTexture("zoltload.png", 0) != 0)
    std::printf("Loading screen without its picture: zoltload.png could not be used\n");

  drawProgressFrame(0.0f);
  int n = 0;
  do {
    n = demo.loadNext();
    for (int i = 0; i < 10; ++i) drawProgressFrame(static_cast<float>(n) + i / 11.0f);
  } while (n < 8 && !demo.loadingDone());

  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  glDeleteTextures(1, &loadingTexture.name);
  loadingTexture.created = false;
  loadingTexture.name = 0;
  clearAndPresent();

  const uint32_t start = platform::wallMilliseconds();
  while (platform::wallMilliseconds() - start < pauseMs) platform::sleepMilliseconds(5);

  if (startScene >= 0) demo.jumpTo(startScene);
}
