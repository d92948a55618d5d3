// LineCube: the curves, the cube's faces and the trails between them.
#include "scenes/effects/LineCube.h"

#include <GL/glu.h>

#include <cmath>

#include "gfx/LineDrawing.h"
#include "scenes/effects/SphereLoop.h"
#include "show/ResourceRegistry.h"

namespace {

const Vec3 kRestNormals[6] = {{0, 0, 1}, {0, 1, 0}, {1, 0, 0}, {0, 0, -1}, {0, -1, 0}, {-1, 0, 0}};
const float kTrailStep = 0.0625f;  // parameter between neighbouring trail points

void makeLineCubeResource(ResourceRegistry& registry, const char* name) {
  registry.adopt(name, new LineCube(), [](void* value) { delete static_cast<LineCube*>(value); });
}

}  // namespace

LineCube* sharedLineCube(ResourceRegistry* registry) {
  if (!registry->lineCubeMaker) registry->lineCubeMaker = makeLineCubeResource;
  return static_cast<LineCube*>(registry->get("LineCube"));
}

void beginCubeView(double fieldOfView) {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glDisable(GL_DEPTH_TEST);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(fieldOfView, 1.0, 1.0, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(0.0f, 0.0f, -10.0f);
}

LineCube::LineCube() {
  for (int i = 0; i < 6; ++i) normals[i] = kRestNormals[i];
  for (SplinePath& curve : curves) {
    buildSphereLoop(curve, sphereRadius);
    curve.buildTable();
  }
}

void LineCube::setAngle(float a) {
  const float c = std::cos(a), s = std::sin(a);
  for (int i = 0; i < 6; ++i) {
    Vec3 n = kRestNormals[i];
    n = Vec3(n.x, c * n.y - s * n.z, s * n.y + c * n.z);  // about x
    n = Vec3(c * n.x + s * n.z, n.y, -s * n.x + c * n.z);  // about y
    n = Vec3(c * n.x - s * n.y, s * n.x + c * n.y, n.z);   // about z
    normals[i] = n;
  }
}

Vec3 LineCube::project(const Vec3& p) const {
  const float length = p.length();
  if (length == 0.0f) return p;
  const Vec3 d = -p / length;
  float best = noExit;
  for (const Vec3& n : normals) {
    const float nd = n.dot(d);
    if (nd == 0.0f) continue;
    const float s = (faceDistance - n.dot(p)) / nd;
    if (s >= 0.0f && s < best) best = s;
  }
  // NOTE: with no face ahead the ray keeps its full length, as measured.
  return p + d * best;
}

void LineCube::trail(int j, float x, Vec3 out[trailLength]) const {
  const float h = (x + 1.0f) * 2.0f;
  const float wx = (std::sin(x) + 1.0f) / 2.0f;
  const float wy = (std::sin(2.0f * x) + 1.0f) / 2.0f;
  const float wz = (std::cos(x / 2.0f) + 1.0f) / 2.0f;
  for (int i = 0; i < trailLength; ++i) {
    const Vec3 p = curves[j].evaluate(h - float(i) * kTrailStep);
    const Vec3 q = project(p);
    out[i] = Vec3((1.0f - wx) * q.x + wx * p.x, (1.0f - wy) * q.y + wy * p.y, (1.0f - wz) * q.z + wz * p.z);
  }
}

int LineCube::render(float x) {
  // Every segment as its own pair of points in one array, its colour at both
  // ends, filled once and drawn in runs each glow pass: the same lines the
  // passes would send one call a point, for a fraction of a driver's work.
  constexpr int segments = curveCount * (trailLength - 1);
  static float positions[segments * 2][3];
  static float colours[segments * 2][4];
  const float alpha = level * 0.125f;
  Vec3 points[trailLength];
  int v = 0;
  for (int j = 0; j < curveCount; ++j) {
    trail(j, x, points);
    for (int i = 0; i + 1 < trailLength; ++i) {
      for (const Vec3& p : {points[i], points[i + 1]}) {
        positions[v][0] = p.x;
        positions[v][1] = p.y;
        positions[v][2] = p.z;
        colours[v][0] = 0.0f;
        colours[v][1] = float(15 - i) / 15.0f;
        colours[v][2] = 0.0f;
        colours[v][3] = alpha;
        ++v;
      }
    }
  }
  glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, positions);
  glColorPointer(4, GL_FLOAT, 0, colours);
  for (int k : {8, 2, 1}) {
    setLineWidth(glowWidth(width, k));
    drawLineRuns(0, segments * 2);
  }
  glPopClientAttrib();
  // What the last segment left behind, as drawing point by point did.
  glColor4f(0.0f, float(15 - (trailLength - 2)) / 15.0f, 0.0f, alpha);
  return 0;
}
