// NameCard: the turn, the flight and the shrinking quad.
#include "scenes/greetings/NameCard.h"

#include <algorithm>
#include <cstring>

#include "gfx/GlExtensions.h"
#include "gfx/Quaternion.h"

namespace {

const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

}  // namespace

const int NameCard::rowWidths[8] = {75, 150, 105, 165, 90, 150, 180, 75};
TextureHandle NameCard::texture(GL_TEXTURE_2D);
float NameCard::target[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
float NameCard::offset[3] = {0, 0, 0};

NameCard::NameCard(int row) : row(std::clamp(row, 0, 7)) { std::memcpy(orientation, kIdentity, sizeof kIdentity); }

int NameCard::render(float a) {
  float turn[16];
  quaternionToMatrix(slerp(quaternionFromMatrix(orientation), quaternionFromMatrix(target), a), turn);

  glPushMatrix();
  glTranslatef(-(offset[0] - a * offset[0]), -(offset[1] - a * offset[1]), -(offset[2] - a * offset[2]));
  glColor4f(1.0f, 1.0f, 1.0f, level * 0.75f);
  glEnable(texture.target);
  texture.bind();
  glMultMatrixf(turn);
  if (additive)
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  else
    glRotatef(180.0f, 1.0f, 0.0f, 0.0f);

  const float width = float(rowWidths[row]);
  const float hw = (1.1f - a) * width / 3.0f;
  const float hh = (1.1f - a) * float(rowHeight) / 3.0f;
  const float t0 = float(row * rowHeight) / float(imageWidth);
  const float t1 = float((row + 1) * rowHeight) / float(imageWidth);
  const float s1 = width / float(imageWidth);
  glBegin(GL_QUADS);
  glTexCoord2f(0.0f, t0);
  glVertex2f(-hw, -hh);
  glTexCoord2f(s1, t0);
  glVertex2f(hw, -hh);
  glTexCoord2f(s1, t1);
  glVertex2f(hw, hh);
  glTexCoord2f(0.0f, t1);
  glVertex2f(-hw, hh);
  glEnd();
  glDisable(texture.target);
  glPopMatrix();
  return 0;
}
