// PanelDrawing: plain and displaced panel quads and the outline.
#include "scenes/finale/PanelDrawing.h"

#include "gfx/DisplayList.h"
#include "gfx/LineDrawing.h"
#include "gfx/OffsetMap.h"
#include "gfx/OffsetProgram.h"

namespace {

// Texture coordinate t for a fraction v of the square's height, from its bottom.
float panelT(const PanelPicture& picture, float v) {
  return (picture.topRowFirst ? 1.0f - v : v) * picture.extent.t;
}

void bindPicture(const PanelPicture& picture) {
  glEnable(picture.target);
  glBindTexture(picture.target, picture.texture);
}

// The square with the map over all of it on unit 0 and the picture on unit 1.
void drawOffsetPanelQuad(const PanelPicture& picture) {
  const float corners[4][2] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}};
  glBegin(GL_QUADS);
  for (const auto& c : corners) {
    glMultiTexCoord2fARB(GL_TEXTURE0_ARB, c[0], c[1]);
    glMultiTexCoord2fARB(GL_TEXTURE1_ARB, c[0] * picture.extent.s, panelT(picture, c[1]));
    glVertex2f(c[0] * 2.0f - 1.0f, c[1] * 2.0f - 1.0f);
  }
  glEnd();
}

}  // namespace

void drawPlainPanel(const PanelPicture& picture) {
  bindPicture(picture);
  glBegin(GL_QUADS);
  glTexCoord2f(0.0f, panelT(picture, 0.0f));
  glVertex2f(-1.0f, -1.0f);
  glTexCoord2f(picture.extent.s, panelT(picture, 0.0f));
  glVertex2f(1.0f, -1.0f);
  glTexCoord2f(picture.extent.s, panelT(picture, 1.0f));
  glVertex2f(1.0f, 1.0f);
  glTexCoord2f(0.0f, panelT(picture, 1.0f));
  glVertex2f(-1.0f, 1.0f);
  glEnd();
  glDisable(picture.target);
}

void drawDisplacedPanel(const PanelPicture& picture, const OffsetMap* map) {
  if (!map || map->mapWidth <= 0 || map->mapHeight <= 0) {
    drawPlainPanel(picture);
    return;
  }
  const int columns = map->mapWidth, rows = map->mapHeight;
  // Offsets are stored scaled by scaleX, scaleY; as fractions of the output
  // they become texels of this picture.
  const float toS = map->scaleX != 0.0f ? picture.extent.s / map->scaleX : 0.0f;
  const float toT = map->scaleY != 0.0f ? picture.extent.t / map->scaleY : 0.0f;
  const float sign = picture.topRowFirst ? -1.0f : 1.0f;
  bindPicture(picture);
  for (int i = 0; i < rows; ++i) {
    const float v0 = float(i) / float(rows), v1 = float(i + 1) / float(rows);
    glBegin(GL_QUAD_STRIP);
    for (int k = 0; k <= columns; ++k) {
      const float u = float(k) / float(columns);
      // Flat reads as in the screen distortion: the top edge lies past the map.
      const int64_t lower = int64_t(i) * columns + k;
      const int64_t upper = lower + columns;
      glTexCoord2f(u * picture.extent.s + map->offsetAt(lower, 0) * toS,
                   panelT(picture, v0) + sign * map->offsetAt(lower, 1) * toT);
      glVertex2f(u * 2.0f - 1.0f, v0 * 2.0f - 1.0f);
      glTexCoord2f(u * picture.extent.s + map->offsetAt(upper, 0) * toS,
                   panelT(picture, v1) + sign * map->offsetAt(upper, 1) * toT);
      glVertex2f(u * 2.0f - 1.0f, v1 * 2.0f - 1.0f);
    }
    glEnd();
  }
  glDisable(picture.target);
}

void drawDisplacedPanelNv(const PanelPicture& picture, OffsetMap& map, const DisplayList& program) {
  glActiveTextureARB(GL_TEXTURE0_ARB);
  glEnable(map.texture.target);
  map.texture.bind();
  glActiveTextureARB(GL_TEXTURE1_ARB);
  bindPicture(picture);
  glEnable(GL_TEXTURE_SHADER_NV);
  program.draw();
  if (picture.target != GL_TEXTURE_2D) {
    // The offsets are fractions; the matrix makes them the picture's texels.
    const float offsetMatrix[4] = {picture.extent.s, 0.0f, 0.0f, picture.topRowFirst ? -picture.extent.t
                                                                                      : picture.extent.t};
    glActiveTextureARB(GL_TEXTURE1_ARB);
    glTexEnvfv(GL_TEXTURE_SHADER_NV, GL_OFFSET_TEXTURE_MATRIX_NV, offsetMatrix);
  }
  drawOffsetPanelQuad(picture);
  glActiveTextureARB(GL_TEXTURE1_ARB);
  glDisable(picture.target);
  glActiveTextureARB(GL_TEXTURE0_ARB);
  glDisable(map.texture.target);
  glDisable(GL_TEXTURE_SHADER_NV);
}

void drawDisplacedPanelProgram(const PanelPicture& picture, const OffsetMap& map, const OffsetProgram& program) {
  glActiveTextureARB(GL_TEXTURE0_ARB);
  glBindTexture(GL_TEXTURE_2D, map.texture.name);
  glActiveTextureARB(GL_TEXTURE1_ARB);
  glBindTexture(picture.target, picture.texture);
  // As the grid does: pixel offsets of the output become the picture's
  // texels, downwards for pictures stored top row first.
  const float toS = map.scaleX != 0.0f ? picture.extent.s / map.scaleX : 0.0f;
  const float toT = map.scaleY != 0.0f ? picture.extent.t / map.scaleY : 0.0f;
  const float matrix[4] = {toS, 0.0f, 0.0f, picture.topRowFirst ? -toT : toT};
  program.begin(matrix);
  drawOffsetPanelQuad(picture);
  program.end();
  glActiveTextureARB(GL_TEXTURE0_ARB);
}

void drawPanelSquareLoop() {
  glBegin(GL_LINE_LOOP);
  glVertex2f(-1.0f, -1.0f);
  glVertex2f(1.0f, -1.0f);
  glVertex2f(1.0f, 1.0f);
  glVertex2f(-1.0f, 1.0f);
  glEnd();
}

void drawPanelOutline(int screenWidth) {
  glColor4f(0.0f, 1.0f, 0.0f, 0.5f);
  setLineWidth(float(screenWidth / 320));
  drawPanelSquareLoop();
}
