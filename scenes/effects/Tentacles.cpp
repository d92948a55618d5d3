// Tentacles: sphere, tubes, ring rotations and both drawing paths.
#include "scenes/effects/Tentacles.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "gfx/ImageLoading.h"
#include "gfx/MathUtil.h"
#include "gfx/NvParse.h"
#include "show/ResourceRegistry.h"

static_assert(sizeof(Vec3) == 3 * sizeof(float), "points are drawn as packed float arrays");

std::vector<uint32_t> Tentacle::quadIndices;
bool Tentacle::drawQuads = true;
bool Tentacle::attribPathNv = false;
float Tentacle::tipDistance = 0.0f;
GLuint Tentacles::programId = 0;
bool Tentacles::programReady = false;
int Tentacles::ballsAlive = 0;

void ringRotation(float x, float y, float z, float out[16]) {
  const float cx = std::cos(x), sx = std::sin(x);
  const float cy = std::cos(y), sy = std::sin(y);
  const float cz = std::cos(z), sz = std::sin(z);
  const float m[16] = {
      cz * cy,                 sz * cy,                 -sy,     0.0f,  //
      cz * sx * sy - cx * sz,  sz * sx * sy + cx * cz,  sx * cy, 0.0f,  //
      cz * cx * sy + sx * sz,  sz * cx * sy - sx * cz,  cx * cy, 0.0f,  //
      0.0f,                    0.0f,                    0.0f,    1.0f,
  };
  std::memcpy(out, m, sizeof m);
}

namespace {

// The rotation of ring i for wave amplitude c at time t; the tip's when
// i is the ring count.
void waveRotation(int i, float t, float c, float out[16]) {
  if (i == Tentacle::ringCount) {
    ringRotation(t - c, t - c, t - c, out);
    return;
  }
  const float d = remap(float(i), 0.0f, float(Tentacle::ringCount), 0.0f, c);
  ringRotation(t - d / 2.0f, t - d / 3.0f, t - std::cos(t + d), out);
}

}  // namespace

void buildGeodesicSphere(std::vector<Vec3>& points, std::vector<uint32_t>& triangles) {
  const Vec3 octahedron[6] = {Vec3(0, 1, 0),  Vec3(0, 0, 1),  Vec3(-1, 0, 0),
                              Vec3(0, 0, -1), Vec3(1, 0, 0), Vec3(0, -1, 0)};
  const uint32_t faces[8][3] = {{2, 1, 0}, {3, 2, 0}, {4, 3, 0}, {1, 4, 0},
                                {1, 2, 5}, {2, 3, 5}, {3, 4, 5}, {4, 1, 5}};
  std::vector<Vec3> split;
  std::vector<uint32_t> splitTriangles;
  for (int f = 0; f < 8; ++f) {
    const Vec3& a = octahedron[faces[f][0]];
    const Vec3& b = octahedron[faces[f][1]];
    const Vec3& c = octahedron[faces[f][2]];
    const uint32_t base = uint32_t(split.size());
    split.insert(split.end(), {a, normalized((a + b) / 2.0f), b, normalized((b + c) / 2.0f), c,
                               normalized((a + c) / 2.0f)});
    splitTriangles.insert(splitTriangles.end(), {base, base + 1, base + 5, base + 2, base + 3, base + 1,
                                                 base + 4, base + 5, base + 3, base + 1, base + 3, base + 5});
  }
  // Equal points (exactly equal: the midpoints are computed the same way
  // from both sides) become one; the first of each set is kept.
  points.clear();
  std::vector<uint32_t> keptAs(split.size());
  for (size_t i = 0; i < split.size(); ++i) {
    size_t found = points.size();
    for (size_t k = 0; k < points.size(); ++k) {
      if (points[k] == split[i]) {
        found = k;
        break;
      }
    }
    if (found == points.size()) points.push_back(split[i]);
    keptAs[i] = uint32_t(found);
  }
  triangles.clear();
  for (uint32_t index : splitTriangles) triangles.push_back(keptAs[index]);
}

Tentacle::Tentacle(const Vec3& a, const Vec3& b0, const Vec3& c0) {
  const Vec3 g = (a + b0 + c0) / 3.0f;
  // Every tentacle winds the same way: the corners run counter-clockwise
  // seen from outside.
  const bool outward = dot(cross(b0 - a, c0 - a), g) >= 0.0f;
  const Vec3 b = outward ? b0 : c0;
  const Vec3 c = outward ? c0 : b0;
  Vec3 u = g;
  for (int i = 0; i < ringCount; ++i) {
    const float s = remap(float(i), 0.0f, float(ringCount), 1.0f, 0.0f);
    basePoints[3 * i] = (a - g) * s + u;
    basePoints[3 * i + 1] = (b - g) * s + u;
    basePoints[3 * i + 2] = (c - g) * s + u;
    u = u * 1.06f;
  }
  basePoints[pointCount - 1] = u;
  tipDistance = u.length();
  for (int i = 0; i < pointCount; ++i) movedPoints[i] = basePoints[i];

  if (quadIndices.empty()) {
    for (uint32_t i = 0; i + 1 < uint32_t(ringCount); ++i) {
      const uint32_t r0 = 3 * i, r1 = 3 * i + 1, r2 = 3 * i + 2;
      const uint32_t n0 = 3 * i + 3, n1 = 3 * i + 4, n2 = 3 * i + 5;
      quadIndices.insert(quadIndices.end(), {r0, r1, n1, n0, r1, r2, n2, n1, r2, r0, n0, n2});
    }
  }
}

void Tentacle::computeRingMatrices(float t) {
  const float c = 2.0f * std::sin(2.0f * t);
  for (int i = 0; i <= ringCount; ++i) waveRotation(i, t, c, ringMatrices[i]);
}

void Tentacle::movePoints(float t) {
  const float c = 2.0f * std::sin(t);
  float m[16];
  for (int i = 0; i < ringCount; ++i) {
    waveRotation(i, t, c, m);
    for (int k = 0; k < 3; ++k) movedPoints[3 * i + k] = rotatePoint(m, basePoints[3 * i + k]);
  }
  waveRotation(ringCount, t, c, m);
  movedPoints[pointCount - 1] = rotatePoint(m, basePoints[pointCount - 1]);
}

void Tentacle::drawArrays() const {
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, &movedPoints[0].x);
  glDrawElements(drawQuads ? GL_QUADS : GL_LINE_STRIP, GLsizei(quadIndices.size()), GL_UNSIGNED_INT,
                 quadIndices.data());
  glDisableClientState(GL_VERTEX_ARRAY);
}

int Tentacle::render(float) {
  glBegin(drawQuads ? GL_QUADS : GL_LINE_STRIP);
  for (int i = 0; i + 1 < ringCount; ++i) {
    for (int column = 0; column < 4; ++column) {
      const float* values = &ringMatrices[i][4 * column];
      if (attribPathNv)
        glVertexAttrib4fvNV(GLuint(8 + column), values);
      else
        glVertexAttrib4fvARB(GLuint(8 + column), values);
    }
    for (int k = 0; k < 12; ++k) glVertex3fv(&basePoints[quadIndices[size_t(i) * 12 + size_t(k)]].x);
  }
  glEnd();
  return 0;
}

Tentacles::Tentacles(ResourceRegistry* registry) {
  buildGeodesicSphere(points, triangles);
  triangleCount = int(triangles.size() / 3);
  for (int f = 0; f < triangleCount; ++f) {
    tentacles.push_back(new Tentacle(points[triangles[3 * f]], points[triangles[3 * f + 1]],
                                     points[triangles[3 * f + 2]]));
  }
  nvidia = isNvidia();
  Tentacle::attribPathNv = nvidia;
  if (ballsAlive++ == 0) loadProgram(registry);
}

Tentacles::~Tentacles() {
  for (Tentacle* tentacle : tentacles) delete tentacle;
  if (--ballsAlive > 0) return;
  if (programId != 0) {
    if (nvidia && glDeleteProgramsNV) {
      glDeleteProgramsNV(1, &programId);
    } else if (!nvidia && glDeleteProgramsARB) {
      glDeleteProgramsARB(1, &programId);
    }
  }
  programId = 0;
  programReady = false;
}

void Tentacles::loadProgram(ResourceRegistry* registry) {
  if (nvidia) {
    glGenProgramsNV(1, &programId);
    glBindProgramNV(GL_VERTEX_PROGRAM_NV, programId);
    unsigned char* text = registry ? registry->readFile("tentacle.vpc") : nullptr;
    glBindProgramNV(GL_VERTEX_PROGRAM_NV, programId);
    glGetError();
    programReady = text && nvparse(reinterpret_cast<const char*>(text));
    delete[] text;
    return;
  }
  unsigned char* text = registry ? registry->readFile("tentacleATI.vpc") : nullptr;
  glGenProgramsARB(1, &programId);
  glBindProgramARB(GL_VERTEX_PROGRAM_ARB, programId);
  if (text) {
    glGetError();
    const GLsizei length = GLsizei(std::strlen(reinterpret_cast<const char*>(text)));
    glProgramStringARB(GL_VERTEX_PROGRAM_ARB, GL_PROGRAM_FORMAT_ASCII_ARB, length, text);
    programReady = glGetError() == GL_NO_ERROR;
    if (!programReady) {
      const GLubyte* where = glGetString(GL_PROGRAM_ERROR_STRING_ARB);
      std::printf("tentacleATI.vpc: %s\n", where ? reinterpret_cast<const char*>(where) : "does not load");
    }
  }
  delete[] text;
}

void Tentacles::update(float t) {
  for (Tentacle* tentacle : tentacles) tentacle->computeRingMatrices(t);
}

void Tentacles::updateCpu(float t) {
  for (Tentacle* tentacle : tentacles) tentacle->movePoints(t);
}

void Tentacles::drawMoved() const {
  for (const Tentacle* tentacle : tentacles) tentacle->drawArrays();
}

int Tentacles::render(float t) {
  if (!programReady) return 0;
  glEnable(GL_VERTEX_PROGRAM_NV);
  if (nvidia) {
    glBindProgramNV(GL_VERTEX_PROGRAM_NV, programId);
    glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, 0, GL_MODELVIEW_PROJECTION_NV, GL_IDENTITY_NV);
  } else {
    glBindProgramARB(GL_VERTEX_PROGRAM_ARB, programId);
  }
  for (Tentacle* tentacle : tentacles) tentacle->render(t);
  glDisable(GL_VERTEX_PROGRAM_NV);
  return 0;
}
