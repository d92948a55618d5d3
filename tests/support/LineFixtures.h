// LineFixtures: what the line-drawing tests share — meshes built in memory
// through lib3ds, GL feedback to count the segments a drawing emits, and a
// plain orthographic view.
#pragma once

#include <lib3ds/file.h>
#include <lib3ds/matrix.h>
#include <lib3ds/mesh.h>

#include <array>
#include <cstring>
#include <functional>
#include <vector>

#include "gfx/GlExtensions.h"

namespace scenetest {

struct Segment {
  float x0, y0, x1, y1;  // window coordinates
};

// Runs draw() in feedback mode and returns the line segments it produced.
inline std::vector<Segment> feedbackLines(const std::function<void()>& draw) {
  std::vector<GLfloat> buffer(1 << 16);
  glFeedbackBuffer(GLsizei(buffer.size()), GL_2D, buffer.data());
  glRenderMode(GL_FEEDBACK);
  draw();
  const GLint count = glRenderMode(GL_RENDER);
  std::vector<Segment> lines;
  for (GLint i = 0; i < count;) {
    const GLint token = GLint(buffer[size_t(i++)]);
    if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
      lines.push_back({buffer[size_t(i)], buffer[size_t(i + 1)], buffer[size_t(i + 2)], buffer[size_t(i + 3)]});
      i += 4;
    } else if (token == GL_POINT_TOKEN || token == GL_PASS_THROUGH_TOKEN) {
      i += token == GL_POINT_TOKEN ? 2 : 1;
    } else if (token == GL_POLYGON_TOKEN) {
      i += 1 + GLint(buffer[size_t(i)]) * 2;
    } else {
      i += 2;  // bitmap and pixel tokens carry one vertex
    }
  }
  return lines;
}

// Model-view identity, projection mapping x, y in [-size, size] onto the
// viewport and z in [-depth, depth].
inline void orthoView(float size, float depth = 1000.0f) {
  glViewport(0, 0, 640, 480);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-size, size, -size, size, -depth, depth);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

// A mesh with the given points (stored in world space as 3DS files do,
// i.e. already moved by `matrix`) and faces, added to `file`.
inline Lib3dsMesh* addMesh(Lib3dsFile* file, const char* name, const std::vector<std::array<float, 3>>& points,
                           const std::vector<std::array<int, 3>>& faces, const Lib3dsMatrix matrix) {
  Lib3dsMesh* mesh = lib3ds_mesh_new(name);
  std::memcpy(mesh->matrix, matrix, sizeof(Lib3dsMatrix));
  lib3ds_mesh_new_point_list(mesh, Lib3dsDword(points.size()));
  for (size_t p = 0; p < points.size(); ++p) {
    for (int a = 0; a < 3; ++a) mesh->pointL[p].pos[a] = points[p][size_t(a)];
  }
  lib3ds_mesh_new_face_list(mesh, Lib3dsDword(faces.size()));
  for (size_t f = 0; f < faces.size(); ++f) {
    for (int c = 0; c < 3; ++c) mesh->faceL[f].points[c] = Lib3dsWord(faces[f][size_t(c)]);
  }
  lib3ds_file_insert_mesh(file, mesh);
  return mesh;
}

// A translation matrix (column-major, as lib3ds keeps it).
inline void translation(Lib3dsMatrix m, float x, float y, float z) {
  lib3ds_matrix_identity(m);
  m[3][0] = x;
  m[3][1] = y;
  m[3][2] = z;
}

}  // namespace scenetest
