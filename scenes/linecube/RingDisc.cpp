// RingDisc: the path, the cells and their drawing.
#include "scenes/linecube/RingDisc.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "gfx/LineDrawing.h"

namespace {

const float kPi = 3.14159265358979f;
const float kRootTwo = 1.4142135f;

// Angle of (x, y) counter-clockwise from +x in 0..2 pi; 0 at the origin,
// where it has none.
float angleOf(float x, float y) {
  const float r = std::sqrt(x * x + y * y);
  if (r == 0.0f) return 0.0f;
  const float phi = std::acos(std::min(1.0f, std::max(-1.0f, x / r)));
  return y < 0.0f ? 2.0f * kPi - phi : phi;
}

int sectorOf(float x, float y) { return int(float(RingDisc::spokeCount) * angleOf(x, y) / (2.0f * kPi)); }

}  // namespace

RingDisc::RingDisc() : path(buildPath()) {}

RingCell RingDisc::cellAt(float x, float y) {
  int ring = int(std::sqrt(x * x + y * y) * 10.0f / kRootTwo) % circleCount;
  // NOTE: ten circles bound nine bands; a point in the rim's last tenth
  // (ring 9) lights the outermost band rather than a cell reaching from
  // the rim back to the innermost circle across the disc.
  ring = std::min(ring, bandCount - 1);
  return {ring, sectorOf(x, y) % spokeCount};
}

std::vector<DiscPoint> RingDisc::buildPath() {
  std::vector<DiscPoint> points;
  int storedRing = -1;
  int lastSector = -1;
  for (int j = 0; j < pathSamples && int(points.size()) < maxPathPoints; ++j) {
    const float c = float(j) * 4.0f * kPi / float(pathSamples);
    const float x = std::cos(3.0f * c) * std::sin(2.0f * c);
    const float y = std::sin(4.0f * c);
    const int ring = int(std::sqrt(4.0f * x * x + 4.0f * y * y) * 10.0f / kRootTwo);
    const int sector = sectorOf(x, y);
    if (ring != storedRing || sector != lastSector) {
      points.push_back({x, y});
      storedRing = ring;
    }
    lastSector = sector;
  }
  return points;
}

int RingDisc::chainStart(float level0) const {
  const int n = int(path.size());
  if (n == 0) return 0;
  const float c = level0 * 4.0f;
  const float start = std::trunc(std::trunc(c * float(n)) / (4.0f * kPi));
  if (!std::isfinite(start)) return 0;
  const long m = long(std::fmod(start, float(n)));
  return int(m < 0 ? m + n : m);
}

void RingDisc::compile() {
  ringList.begin();
  for (int i = 0; i < circleCount; ++i) {
    drawCircleLoop(circleRadius(i), 100);
  }
  glBegin(GL_LINES);
  for (int j = 0; j < spokeCount; ++j) {
    const float a = float(j) * 2.0f * kPi / float(spokeCount);
    glVertex3f(30.0f * std::cos(a), 30.0f * std::sin(a), 0.0f);
    glVertex3f(5.0f * std::cos(a), 5.0f * std::sin(a), 0.0f);
  }
  glEnd();
  ringList.end();
}

void RingDisc::drawCell(RingCell cell) {
  const float ri = circleRadius(cell.ring);
  const float ro = circleRadius(cell.ring + 1);
  float alpha = float(cell.sector) * 2.0f * kPi / float(spokeCount);
  float beta = float(cell.sector + 1) * 2.0f * kPi / float(spokeCount);
  if (beta < alpha) std::swap(alpha, beta);
  glBegin(GL_TRIANGLE_STRIP);
  glVertex3f(ro * std::cos(alpha), ro * std::sin(alpha), 0.0f);
  for (int i = 0; i < 10; ++i) {
    const float a = alpha + float(i) * (beta - alpha) / 9.0f;
    const float r = i % 2 == 0 ? ri : ro;
    glVertex3f(r * std::cos(a), r * std::sin(a), 0.0f);
  }
  glVertex3f(ri * std::cos(beta), ri * std::sin(beta), 0.0f);
  glEnd();
}

void RingDisc::drawChain(float level0, float v) const {
  const int n = int(path.size());
  if (n == 0) return;
  const int start = chainStart(level0);
  for (int i = 0; i < chainLength; ++i) {
    glColor4f(1.0f, 1.0f, 1.0f, float(i) * 0.75f / 19.0f * v);
    const DiscPoint p = path[size_t((start + i) % n)];
    // The point, its half turn and its two quarter turns.
    drawCell(cellAt(p.x, p.y));
    drawCell(cellAt(-p.x, -p.y));
    drawCell(cellAt(-p.y, p.x));
    drawCell(cellAt(p.y, -p.x));
  }
}
