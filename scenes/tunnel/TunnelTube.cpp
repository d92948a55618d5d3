// TunnelTube: rings, the smeared wall texture and the lit tiles.
#include "scenes/tunnel/TunnelTube.h"

#include <cmath>

#include "gfx/LineDrawing.h"
#include "gfx/PixelBuffer.h"
#include "gfx/ScreenQuad.h"
#include "gfx/ScreenTexture.h"
#include "scenes/effects/LineCube.h"

namespace {

const float kPi = 3.14159265358979f;

// Angle of the wall's segment edge s, turned with the level.
float edgeAngle(int s, float x) { return float(s) * 2.0f * kPi / float(TunnelTube::segments) + 2.0f * x; }

}  // namespace

TunnelTube::TunnelTube(LineCube* lineCube) : lineCube(lineCube) {}

float TunnelTube::ringZ(int i, float cameraY) {
  const float m = std::fmod(cameraY, ringSpacing);
  return m - ringSpacing * float(i) - cameraY;
}

int TunnelTube::litTiles(float x, TubeTile out[litTileCount]) {
  float p = x / 3.0f;
  int placed = 0;
  int lastRing = -1;
  int lastSegment = -1;
  if (!std::isfinite(p)) return 0;
  for (int step = 0; step < maxTileSteps && placed < litTileCount; ++step) {
    const int ring = (30 + int(10.0f * std::cos(5.0f * p))) % rings;
    const int segment = (30 + int(10.0f * std::sin(7.0f * p))) % segments;
    if (ring != lastRing || segment != lastSegment) {
      out[placed++] = {ring, segment};
      lastRing = ring;
    }
    p += 0.001f;
    lastSegment = segment;
  }
  return placed;
}

void TunnelTube::compile() {
  ringList.begin();
  drawCircleLoop(radius, 100);
  glBegin(GL_LINES);
  for (int j = 0; j < segments; ++j) {
    const float a = float(j) * 2.0f * kPi / float(segments);
    glVertex3f(radius * std::cos(a), radius * std::sin(a), 0.0f);
    glVertex3f(radius * std::cos(a), radius * std::sin(a), -ringSpacing);
  }
  glEnd();
  ringList.end();
}

int TunnelTube::render(float x) {
  glColor4f(0.0f, 1.0f, 0.0f, 1.0f);
  const float a = x / 2.0f;
  lineCube->setAngle(a);
  lineCube->level = 1.0f;
  lineCube->width = width;

  const float c = camera.y;
  // A ring with its lengthwise strokes lies in this box.
  const float ringLow[3] = {-radius, -radius, -ringSpacing}, ringHigh[3] = {radius, radius, 0.0f};
  glMatrixMode(GL_MODELVIEW);
  for (int i = 0; i < rings; ++i) {
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, ringZ(i, c));
    if (beyondFog(ringLow, ringHigh)) {
      glPopMatrix();
      continue;
    }
    drawGlow(width, {8}, {1.0f, 1.0f, 1.0f, 0.25f}, [this] { ringList.draw(); });
    drawGlow(width, {4, 1}, {1.0f, 1.0f, 1.0f, 0.125f}, [this] { ringList.draw(); });
    glPopMatrix();
  }

  // The smear comes after the rings: switching to the pixel buffer hands
  // the rings to the rasteriser, which draws them while this thread builds
  // the cube, instead of both waiting on each other. Every pass adds, so
  // the order leaves the picture as it was.
  if (target && texture) smearCube(a);
  if (texture) drawWall(x);

  TubeTile tiles[litTileCount];
  const int count = litTiles(x, tiles);
  for (int n = 0; n < count; ++n) {
    glColor4f(1.0f, 1.0f, 1.0f, 0.5f - float(n) * 0.0375f);
    // The tile and its three quarter-turned copies.
    for (int q = 0; q < 4; ++q) drawTile({tiles[n].ring, (tiles[n].segment + 5 * q) % segments}, x);
  }
  return 0;
}

void TunnelTube::smearCube(float a) {
  target->makeCurrent();
  // Darken the last picture by a quarter instead of clearing it.
  glColor4f(0.0f, 0.0f, 0.0f, 0.25f);
  drawScreenQuad(640, 480);
  beginCubeView(45.0);
  lineCube->level = 0.5f;
  lineCube->render(a * 4.0f);
  texture->copy(0, 0, 0, 0, -1, -1);
  target->restore();
}

void TunnelTube::drawWall(float x) const {
  const float c = camera.y;
  const float m = std::fmod(c, ringSpacing);
  const float zn = -(m + c);
  const float zf = length - (m + c);
  // A rectangle copy texture is addressed in texels.
  const float s = texture->target == GL_TEXTURE_2D ? 1.0f : float(texture->width);
  const float u = texture->target == GL_TEXTURE_2D ? 1.0f : float(texture->height);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  texture->enable();
  texture->bind();
  glBegin(GL_QUADS);
  for (int i = 0; i < segments; ++i) {
    const float p0 = edgeAngle(i, x), p1 = edgeAngle(i + 1, x);
    const float t0 = float(i) / float(segments), t1 = float(i + 1) / float(segments);
    glTexCoord2f(0.5f * s, t0 * u);
    glVertex3f(radius * std::cos(p0), radius * std::sin(p0), zn);
    glTexCoord2f(1.5f * s, t0 * u);
    glVertex3f(radius * std::cos(p0), radius * std::sin(p0), zf);
    glTexCoord2f(1.5f * s, t1 * u);
    glVertex3f(radius * std::cos(p1), radius * std::sin(p1), zf);
    glTexCoord2f(0.5f * s, t1 * u);
    glVertex3f(radius * std::cos(p1), radius * std::sin(p1), zn);
  }
  glEnd();
  texture->disable();
}

void TunnelTube::drawTile(TubeTile tile, float x) const {
  const float z0 = ringZ(tile.ring, camera.y);
  const float z1 = ringZ(tile.ring + 1, camera.y);
  const float p0 = edgeAngle(tile.segment, x), p1 = edgeAngle(tile.segment + 1, x);
  glBegin(GL_QUADS);
  glVertex3f(radius * std::cos(p0), radius * std::sin(p0), z0);
  glVertex3f(radius * std::cos(p0), radius * std::sin(p0), z1);
  glVertex3f(radius * std::cos(p1), radius * std::sin(p1), z1);
  glVertex3f(radius * std::cos(p1), radius * std::sin(p1), z0);
  glEnd();
}
