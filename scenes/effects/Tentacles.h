// Tentacles: a ball of 32 writhing tentacles grown out of the faces of a
// geodesic sphere. Each tentacle is a tube of triangular section, 30 rings
// shrinking towards the tip, every ring turned by its own rotation so that
// waves run along it.
//
// Two ways to draw the same ball: the vertex-program path hands each ring
// pair's rotation to the card (attributes 8..11) and draws the untouched
// points; the CPU path turns the points itself and draws them from vertex
// arrays (the shadow pass, where no program is bound). Quads or line strips
// by `Tentacle::drawQuads`. Shared by the shadow-light effects and the
// finale. Needs a current GL context.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/Effect.h"
#include "gfx/GlExtensions.h"
#include "gfx/Vec3.h"

class ResourceRegistry;

// R(x, y, z) = Rz(z) Ry(y) Rx(x), column-major, no translation.
void ringRotation(float x, float y, float z, float out[16]);

class Tentacle final : public Effect {
 public:
  static constexpr int ringCount = 30;
  static constexpr int pointCount = ringCount * 3 + 1;  // rings, then the tip
  static constexpr int quadIndexCount = (ringCount - 1) * 3 * 4;

  // A tentacle growing out of the triangle (a, b, c) of the unit sphere.
  Tentacle(const Vec3& a, const Vec3& b, const Vec3& c);

  // Vertex-program path: one rotation per ring (and the tip) for time t.
  void computeRingMatrices(float t);
  // CPU path: the points turned for time t into movedPoints.
  void movePoints(float t);
  // Draws movedPoints through the shared quad indices.
  void drawArrays() const;
  // Draws basePoints, each ring pair with its rotation in attributes 8..11.
  int render(float t) override;

  Vec3 basePoints[pointCount];
  Vec3 movedPoints[pointCount];
  float ringMatrices[ringCount + 1][16] = {};

  // Shared by every tentacle.
  static std::vector<uint32_t> quadIndices;
  static bool drawQuads;     // quads, or line strips when clear
  static bool attribPathNv;  // NV attribute calls instead of ARB ones
  static float tipDistance;  // length of the last tentacle's tip
};

class Tentacles final : public Effect {
 public:
  explicit Tentacles(ResourceRegistry* registry);
  ~Tentacles();
  Tentacles(const Tentacles&) = delete;
  Tentacles& operator=(const Tentacles&) = delete;

  void update(float t);     // every tentacle's ring matrices
  void updateCpu(float t);  // every tentacle's moved points
  void drawMoved() const;   // CPU path
  // Vertex-program path: binds the program, draws every tentacle.
  int render(float t) override;

  std::vector<Vec3> points;         // the geodesic sphere
  std::vector<uint32_t> triangles;  // three indices each
  int triangleCount = 0;
  std::vector<Tentacle*> tentacles;
  bool nvidia = false;

  // One program for every ball alive at once: built by the first, deleted
  // with the last (a later ball, perhaps in a new context, builds its own).
  static GLuint programId;
  // False when the program text could not be read or loaded; the
  // vertex-program path then draws nothing.
  static bool programReady;
  static int ballsAlive;

 private:
  void loadProgram(ResourceRegistry* registry);
};

// The sphere: an octahedron subdivided once, equal points merged
// (18 points, 32 triangles).
void buildGeodesicSphere(std::vector<Vec3>& points, std::vector<uint32_t>& triangles);
