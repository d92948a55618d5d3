// LatticeMesh: mesh loading into box coordinates, the wave keys, blending,
// the Bezier deformation and the variants' drawing.
#include "scenes/effects/LatticeMesh.h"

#include <lib3ds/file.h>
#include <lib3ds/matrix.h>
#include <lib3ds/mesh.h>
#include <lib3ds/vector.h>
#include <strings.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gfx/GlExtensions.h"
#include "gfx/Random.h"
#include "gfx/LineDrawing.h"
#include "show/ResourceRegistry.h"

namespace {

const float kQuarterTurn = 1.570795f;

const LatticeVariant kVariants[] = {
    // model        cosine  flat keys                    gain  scale rotY  footprint cycle
    {"zolt.3ds", false, {true, false, true, false}, 2.0f, 10.0f, 0.0f, true, 10.0f},
    {"t-rov.3ds", false, {true, false, true, false}, 0.5f, 10.0f, 20.0f, false, 4.0f},
    {"qz5.3ds", true, {true, false, false, false}, 2.0f, 5.0f, -30.0f, false, 4.0f},
};

// The ground square the footprint grows into: 320 x 320, ruled every 5.
const float kGroundHalf = 160.0f;
const float kGroundLift = 13.996f;
const float kGroundDepth = 150.0f;

void bernstein(float t, float out[4]) {
  const float s = 1.0f - t;
  out[0] = s * s * s;
  out[1] = 3.0f * t * s * s;
  out[2] = 3.0f * t * t * s;
  out[3] = t * t * t;
}

}  // namespace

const LatticeVariant* latticeVariantFor(const char* modelName) {
  for (const LatticeVariant& variant : kVariants) {
    if (modelName && strcasecmp(modelName, variant.modelName) == 0) return &variant;
  }
  return &kVariants[0];
}

LatticeMesh::LatticeMesh(ResourceRegistry* registry, const char* modelName)
    : variant(latticeVariantFor(modelName)) {
  Lib3dsFile* file = registry ? registry->load3ds(modelName) : nullptr;
  build(file);
  if (file) lib3ds_file_free(file);
}

LatticeMesh::LatticeMesh(Lib3dsFile* file, const char* modelName) : variant(latticeVariantFor(modelName)) {
  build(file);
}

void LatticeMesh::build(Lib3dsFile* file) {
  Lib3dsMesh* mesh = file ? lib3ds_file_mesh_by_name(file, "Text01") : nullptr;
  if (mesh) {
    pointCount = int(mesh->points);
    local.assign(size_t(pointCount) * 3, 0.0f);
    indices.reserve(size_t(mesh->faces) * 3);

    Lib3dsMatrix inverse;
    std::memcpy(inverse, mesh->matrix, sizeof(Lib3dsMatrix));
    if (!lib3ds_matrix_inv(inverse)) lib3ds_matrix_identity(inverse);
    for (Lib3dsDword f = 0; f < mesh->faces; ++f) {
      const Lib3dsWord* corners = mesh->faceL[f].points;
      // A face pointing past the point list (a corrupt file) is left out.
      if (corners[0] >= mesh->points || corners[1] >= mesh->points || corners[2] >= mesh->points) continue;
      for (int c = 0; c < 3; ++c) {
        float* point = &local[size_t(corners[c]) * 3];
        lib3ds_vector_transform(point, inverse, mesh->pointL[corners[c]].pos);
        indices.push_back(corners[c]);
        for (int axis = 0; axis < 3; ++axis) {
          boxMin[axis] = std::min(boxMin[axis], point[axis]);
          boxMax[axis] = std::max(boxMax[axis], point[axis]);
        }
      }
    }
    faceCount = int(indices.size() / 3);
    for (int p = 0; p < pointCount; ++p) {
      for (int axis = 0; axis < 3; ++axis) {
        const float extent = boxMax[axis] - boxMin[axis];
        float& value = local[size_t(p) * 3 + axis];
        // NOTE: a flat axis (zero extent) would divide by zero; it sits at 0.
        value = extent > 0.0f ? (value - boxMin[axis]) / extent : 0.0f;
      }
    }
  }
  if (faceCount == 0) {
    // Nothing to draw: keep a sane box so the keys and footprint stay finite.
    for (int axis = 0; axis < 3; ++axis) boxMin[axis] = boxMax[axis] = 0.0f;
  }
  positions.assign(local.size(), 0.0f);
  buildKeys();
  if (variant->hasFootprint) {
    for (int axis = 0; axis < 3; ++axis) {
      boxMin[axis] *= 0.65f;
      boxMax[axis] *= 0.65f;
    }
  }
}

void LatticeMesh::buildKeys() {
  const float depth = boxMax[2] - boxMin[2];
  for (int n = 0; n < 4; ++n) {
    for (int k = 0; k < 4; ++k) {
      for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 4; ++i) {
          float* point = &keys[n][(k * 16 + j * 4 + i) * 3];
          point[0] = boxMin[0] + float(i) / 3.0f * (boxMax[0] - boxMin[0]);
          point[1] = boxMin[1] + float(j) / 3.0f * (boxMax[1] - boxMin[1]);
          const float baseZ = boxMin[2] + float(k) / 3.0f * (boxMax[2] - boxMin[2]);
          // NOTE: three draws per control point whose values go unused; they
          // keep the shared sequence where the rest of the show expects it.
          zolt::random();
          zolt::random();
          zolt::random();
          const float angle = float(n + i) * kQuarterTurn;
          const float a = (variant->cosineWave ? std::cos(angle) : std::sin(angle)) * depth / 2.0f;
          const float b = (variant->flatKeys[n] || j == 0) ? 0.0f : a * variant->gain;
          point[2] = baseZ + b * variant->scale;
        }
      }
    }
  }
  std::memcpy(lattice, keys[0], sizeof lattice);
}

void LatticeMesh::update(float x) {
  float p = std::fmod(x * 4.0f / variant->cycleLength, 4.0f);
  if (p < 0.0f) p += 4.0f;  // negative inputs wrap like positive ones
  int n = int(std::floor(p));
  if (n > 3) n = 3;  // rounding of p just below 4
  const int m = (n + 1) % 4;
  const float w = std::sin((p - float(n)) * kQuarterTurn);
  for (int c = 0; c < kControlPoints * 3; ++c) lattice[c] = keys[n][c] + w * (keys[m][c] - keys[n][c]);

  for (int p3 = 0; p3 < pointCount; ++p3) {
    const float* uvs = &local[size_t(p3) * 3];
    float bu[4], bv[4], bs[4];
    bernstein(uvs[0], bu);
    bernstein(uvs[1], bv);
    bernstein(uvs[2], bs);
    float out[3] = {0.0f, 0.0f, 0.0f};
    for (int k = 0; k < 4; ++k) {
      for (int j = 0; j < 4; ++j) {
        const float weightKj = bs[k] * bv[j];
        const float* row = &lattice[(k * 16 + j * 4) * 3];
        for (int i = 0; i < 4; ++i) {
          const float weight = weightKj * bu[i];
          out[0] += weight * row[i * 3 + 0];
          out[1] += weight * row[i * 3 + 1];
          out[2] += weight * row[i * 3 + 2];
        }
      }
    }
    float* target = &positions[size_t(p3) * 3];
    target[0] = out[0];
    target[1] = out[1];
    target[2] = out[2];
  }
}

int LatticeMesh::render(float) {
  if (variant->rotationY != 0.0f) {
    glPushMatrix();
    glRotatef(variant->rotationY, 0.0f, 1.0f, 0.0f);
    drawWireTriangles(positions.data(), indices.data(), faceCount);
    glPopMatrix();
    return 0;
  }
  drawWireTriangles(positions.data(), indices.data(), faceCount);
  if (variant->hasFootprint) drawFootprint();
  return 0;
}

void LatticeMesh::drawFootprint() {
  glPushMatrix();
  // The zero y scale flattens the rectangle onto the ground under the model.
  glScalef(2.0f, 0.0f, 8.0f);
  glTranslatef(0.0f, 0.0f, -(boxMax[2] - boxMin[2]) * 0.5f);
  if (footprint) glColor4f(0.0f, 1.0f, 0.0f, 0.125f);
  glBegin(GL_LINE_LOOP);
  glVertex3f(boxMin[0], 0.0f, boxMin[2]);
  glVertex3f(boxMax[0], 0.0f, boxMin[2]);
  glVertex3f(boxMax[0], 0.0f, boxMax[2]);
  glVertex3f(boxMin[0], 0.0f, boxMax[2]);
  glEnd();
  glPopMatrix();
}

void LatticeMesh::drawGround(float x) {
  if (x < 0.0f) return;
  if (x < 1.0f) {
    // The footprint slides, turns and flattens into the square's outline.
    const float nearZ = boxMin[2] + x * (-kGroundHalf - boxMin[2]);
    const float farZ = boxMax[2] + x * (kGroundHalf - boxMax[2]);
    const float left = boxMin[0] + x * (-kGroundHalf - boxMin[0]);
    const float right = boxMax[0] + x * (kGroundHalf - boxMax[0]);
    const float scaleZ = 8.0f + x * (1.0f - 8.0f);
    // NOTE: the footprint moves by half its depth after its z scale; the
    // same offset here, scaled alike, makes x = 0 land exactly on the
    // footprint instead of jumping along z when the ground takes over.
    const float a = (farZ - nearZ) * -0.5f * scaleZ;
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, a + x * (kGroundDepth - a));
    glTranslatef(0.0f, kGroundLift * x, 0.0f);
    glScalef(2.0f + x * (1.0f - 2.0f), 0.0f, scaleZ);
    glRotatef(x * 90.0f, 0.0f, 1.0f, 0.0f);
    glBegin(GL_LINES);
    glVertex3f(left, 0.0f, nearZ);
    glVertex3f(right, 0.0f, nearZ);
    glVertex3f(right, 0.0f, nearZ);
    glVertex3f(right, 0.0f, farZ);
    glVertex3f(right, 0.0f, farZ);
    glVertex3f(left, 0.0f, farZ);
    glVertex3f(left, 0.0f, farZ);
    glVertex3f(left, 0.0f, nearZ);
    glEnd();
    glPopMatrix();
    return;
  }

  const float y = x - 1.0f;
  const float h = kGroundHalf;
  glPushMatrix();
  glTranslatef(0.0f, kGroundLift, kGroundDepth);
  glBegin(GL_LINES);
  glVertex3f(-h, 0.0f, -h);
  glVertex3f(h, 0.0f, -h);
  glVertex3f(h, 0.0f, -h);
  glVertex3f(h, 0.0f, h);
  glVertex3f(h, 0.0f, h);
  glVertex3f(-h, 0.0f, h);
  glVertex3f(-h, 0.0f, h);
  glVertex3f(-h, 0.0f, -h);
  // The rulings sweep across, along z first and then along x.
  const float alongZ = -h + std::min(y, 1.0f) * 2.0f * h;
  for (int i = 1; i <= 63; ++i) {
    const float c = -h + float(i) * 5.0f;
    glVertex3f(c, 0.0f, -h);
    glVertex3f(c, 0.0f, alongZ);
  }
  if (y > 1.0f) {
    const float alongX = -h + std::min(y - 1.0f, 1.0f) * 2.0f * h;
    for (int i = 1; i <= 63; ++i) {
      const float c = -h + float(i) * 5.0f;
      glVertex3f(-h, 0.0f, c);
      glVertex3f(alongX, 0.0f, c);
    }
  }
  glEnd();
  glPopMatrix();
}
