// LineDrawing: mesh edges as lines, wire triangles, the additive frame
// start and the fog every line scene shares.
#include "gfx/LineDrawing.h"

#include <lib3ds/file.h>
#include <lib3ds/matrix.h>
#include <lib3ds/mesh.h>
#include <lib3ds/vector.h>

#include <cmath>
#include <cstring>

#include "gfx/NvParse.h"

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

void drawLineRuns(int first, int count) {
  for (int done = 0; done + 1 < count; done += kLineRunPoints)
    glDrawArrays(GL_LINES, first + done, count - done < kLineRunPoints ? count - done : kLineRunPoints);
}

void drawIndexedLineRuns(const GLuint* indices, int count) {
  for (int done = 0; done + 1 < count; done += kLineRunPoints)
    glDrawElements(GL_LINES, count - done < kLineRunPoints ? count - done : kLineRunPoints, GL_UNSIGNED_INT,
                   indices + done);
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

bool beyondFog(const float low[3], const float high[3]) {
  if (!glIsEnabled(GL_FOG) || !glIsEnabled(GL_BLEND)) return false;
  // Programs write their own fog coordinates and colours. (Asking a driver
  // about a state it does not know is an error, so ask only where it does.)
  auto on = [](GLenum state, const char* extension) {
    return nvparseHasExtension(extension) && glIsEnabled(state);
  };
  if (on(GL_VERTEX_PROGRAM_ARB, "GL_ARB_vertex_program") || on(GL_VERTEX_PROGRAM_NV, "GL_NV_vertex_program") ||
      on(GL_FRAGMENT_PROGRAM_ARB, "GL_ARB_fragment_program") || on(GL_TEXTURE_SHADER_NV, "GL_NV_texture_shader"))
    return false;
  GLint mode = 0, source = 0, destination = 0, equation = 0, coordinate = 0;
  glGetIntegerv(GL_FOG_MODE, &mode);
  glGetIntegerv(GL_FOG_COORDINATE_SOURCE, &coordinate);
  glGetIntegerv(GL_BLEND_DST_RGB, &destination);
  glGetIntegerv(GL_BLEND_EQUATION_RGB, &equation);
  glGetIntegerv(GL_BLEND_SRC_RGB, &source);
  if (mode != GL_LINEAR || coordinate != GL_FRAGMENT_DEPTH || destination != GL_ONE || equation != GL_FUNC_ADD)
    return false;
  // A zero source stays zero under any source factor but the constant ones.
  if (source == GL_CONSTANT_COLOR || source == GL_ONE_MINUS_CONSTANT_COLOR) return false;
  float colour[4], end = 0.0f, m[16];
  glGetFloatv(GL_FOG_COLOR, colour);
  if (colour[0] != 0.0f || colour[1] != 0.0f || colour[2] != 0.0f) return false;
  glGetFloatv(GL_FOG_END, &end);
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  // The fog distance is the eye-space depth; beyond the end every corner,
  // and so the whole box, is in front of the eye at least `end` away.
  for (int corner = 0; corner < 8; ++corner) {
    const float x = corner & 1 ? high[0] : low[0];
    const float y = corner & 2 ? high[1] : low[1];
    const float z = corner & 4 ? high[2] : low[2];
    const float eyeZ = m[2] * x + m[6] * y + m[10] * z + m[14];
    if (!(-eyeZ >= end)) return false;
  }
  return true;
}

void drawCircleLoop(float radius, int segments) {
  const float step = 2.0f * 3.14159265358979f / float(segments);
  glBegin(GL_LINE_LOOP);
  for (int k = 0; k < segments; ++k) {
    glVertex3f(radius * std::cos(float(k) * step), radius * std::sin(float(k) * step), 0.0f);
  }
  glEnd();
}
