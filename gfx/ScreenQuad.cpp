// ScreenQuad: the fade quad and the screen projection.
#include "gfx/ScreenQuad.h"

#include "gfx/GlExtensions.h"

void setScreenOrtho(double left, double right, double bottom, double top) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(left, right, bottom, top, 0.0, 10.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void drawScreenQuad(int width, int height) {
  setScreenOrtho(0.0, width, height, 0.0);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glBegin(GL_QUADS);
  glVertex2i(0, 0);
  glVertex2i(width, 0);
  glVertex2i(width, height);
  glVertex2i(0, height);
  glEnd();
}
