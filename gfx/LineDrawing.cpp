// LineDrawing: mesh edges as lines, wire triangles, the additive frame
// start and the fog every line scene shares.
#include "gfx/LineDrawing.h"

#include <lib3ds/file.h>
#include <lib3ds/matrix.h>
#include <lib3ds/mesh.h>
#include <lib3ds/vector.h>

#include <cmath>
#include <cstring>

void compileMeshLines(Lib3dsMesh* mesh) {
  if (!mesh) return;
  // NOTE: the file stores points in world space; the inverse matrix brings
  // them back so the scene can place the mesh with its node transform.
  Lib3dsMatrix inverse;
  std::memcpy(inverse, mesh->matrix, sizeof(Lib3dsMatrix));
  // A singular matrix (a flattened mesh) keeps the points as stored.
  if (!lib3ds_matrix_inv(inverse)) lib3ds_matrix_identity(inverse);

  glBegin(GL_LINES);
  for (Lib3dsDword f = 0; f < mesh->faces; ++f) {
    Lib3dsVector corner[3];
    bool valid = true;
    for (int c = 0; c < 3; ++c) {
      const Lib3dsWord index = mesh->faceL[f].points[c];
      if (index >= mesh->points) {
        valid = false;  // a corrupt face never reads past the point list
        break;
      }
      lib3ds_vector_transform(corner[c], inverse, mesh->pointL[index].pos);
    }
    if (!valid) continue;
    for (int c = 0; c < 3; ++c) {
      glVertex3fv(corner[c]);
      glVertex3fv(corner[(c + 1) % 3]);
    }
  }
  glEnd();
}

void compileMeshLines(Lib3dsFile* file, const char* meshName) {
  if (!file) return;
  compileMeshLines(lib3ds_file_mesh_by_name(file, meshName));
}

void drawWireTriangles(const float* positions, const uint32_t* indices, int faceCount) {
  if (faceCount <= 0) return;
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, positions);
  glDrawElements(GL_TRIANGLES, faceCount * 3, GL_UNSIGNED_INT, indices);
  glDisableClientState(GL_VERTEX_ARRAY);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

void beginAdditiveFrame() {
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
}

void linearFog(float start, float end) {
  glEnable(GL_FOG);
  glFogf(GL_FOG_START, start);
  glFogf(GL_FOG_END, end);
  glFogi(GL_FOG_MODE, GL_LINEAR);
}

void drawCircleLoop(float radius, int segments) {
  const float step = 2.0f * 3.14159265358979f / float(segments);
  glBegin(GL_LINE_LOOP);
  for (int k = 0; k < segments; ++k) {
    glVertex3f(radius * std::cos(float(k) * step), radius * std::sin(float(k) * step), 0.0f);
  }
  glEnd();
}
