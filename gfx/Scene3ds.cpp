// Scene3ds: 3DS files through lib3ds 1.3, their cameras and object nodes.
//
// Archive entries are parsed from memory through a bounded reader; loose
// files are read whole and parsed the same way, so both paths see the same
// bytes through the same checks.
#include "gfx/Scene3ds.h"

#include <lib3ds/chunk.h>
#include <lib3ds/file.h>
#include <lib3ds/io.h>
#include <lib3ds/matrix.h>
#include <lib3ds/mesh.h>
#include <lib3ds/node.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gfx/AssetLoader.h"
#include "gfx/Check3ds.h"
#include "gfx/GlExtensions.h"
#include "platform/MessageBox.h"

#include <GL/glu.h>

namespace {

const char* const kLoadErrorCaption = "3DS Load error";

// NOTE: a well-formed file is read about once; lib3ds re-reads only chunk
// headers. A chunk of size 0 would make it read the same header forever.
int64_t readBudget(int32_t size) { return int64_t(size) * 8 + 4096; }

Lib3dsBool streamError(void* self) {
  return static_cast<MemoryStream3ds*>(self)->failed ? LIB3DS_TRUE : LIB3DS_FALSE;
}

long streamSeek(void* self, long offset, Lib3dsIoSeek origin) {
  MemoryStream3ds* s = static_cast<MemoryStream3ds*>(self);
  int64_t base = 0;
  if (origin == LIB3DS_SEEK_CUR) base = s->position;
  if (origin == LIB3DS_SEEK_END) base = s->size;
  int64_t target = base + offset;
  if (target < 0 || target > s->size) {
    // A chunk that claims to reach beyond the entry: the file is cut short.
    s->failed = true;
    target = s->size;
  }
  s->position = static_cast<int32_t>(target);
  return 0;
}

long streamTell(void* self) { return static_cast<MemoryStream3ds*>(self)->position; }

size_t streamRead(void* self, void* buffer, size_t n) {
  MemoryStream3ds* s = static_cast<MemoryStream3ds*>(self);
  s->bytesRead += static_cast<int64_t>(n);
  if (s->bytesRead > readBudget(s->size)) s->failed = true;
  size_t available = s->failed ? 0 : static_cast<size_t>(s->size - s->position);
  size_t copied = n < available ? n : available;
  if (copied > 0) std::memcpy(buffer, s->data + s->position, copied);
  // NOTE: lib3ds does not check short reads; zeros keep its values defined
  // and make its chunk loops stop.
  if (copied < n) {
    std::memset(static_cast<unsigned char*>(buffer) + copied, 0, n - copied);
    s->failed = true;
  }
  s->position += static_cast<int32_t>(copied);
  return copied;
}

size_t streamWrite(void*, const void*, size_t) { return 0; }

// Scenes index points through the faces; a face naming a point the mesh
// lacks would have them read past its point list.
bool facesInRange(Lib3dsFile* file) {
  for (Lib3dsMesh* mesh = file->meshes; mesh; mesh = mesh->next)
    for (Lib3dsDword f = 0; f < mesh->faces; ++f)
      for (int c = 0; c < 3; ++c)
        if (mesh->faceL[f].points[c] >= mesh->points) return false;
  return true;
}

void showLoadError(const char* name) {
  platform::messageBox(name, kLoadErrorCaption, platform::MessageIcon::None,
                       platform::MessageButtons::Ok);
}

}  // namespace

int lib3dsChunkNesting() {
  // NOTE: lib3ds offers its record only through its dump line, printed with
  // the record in front; the line goes into memory instead of the terminal.
  char line[256] = {};
  std::FILE* capture = fmemopen(line, sizeof line - 1, "w");
  if (!capture) return -1;
  std::fflush(stdout);
  std::FILE* terminal = stdout;
  stdout = capture;
  lib3ds_chunk_enable_dump(LIB3DS_TRUE, LIB3DS_FALSE);
  lib3ds_chunk_dump_info("|");
  lib3ds_chunk_enable_dump(LIB3DS_FALSE, LIB3DS_FALSE);
  stdout = terminal;
  std::fclose(capture);
  const char* bar = std::strchr(line, '|');
  return bar ? static_cast<int>(bar - line) / 2 : -1;
}

void closeLib3dsChunks(Lib3dsIo* io) {
  Lib3dsChunk chunk{};
  for (int depth = lib3dsChunkNesting(); depth > 0; --depth) lib3ds_chunk_read_end(&chunk, io);
}

Lib3dsIo* newMemoryIo3ds(MemoryStream3ds* stream) {
  return lib3ds_io_new(stream, streamError, streamSeek, streamTell, streamRead, streamWrite);
}

Lib3dsFile* read3dsFromMemory(const unsigned char* data, int32_t size, const char* name) {
  // NOTE: lib3ds is only handed bytes whose chunk tree holds together; see
  // Check3ds.h for what it would do with the rest.
  if (!check3dsChunks(data, size)) {
    showLoadError(name);
    return nullptr;
  }
  MemoryStream3ds stream;
  stream.data = data;
  stream.size = size;
  Lib3dsIo* io = newMemoryIo3ds(&stream);
  Lib3dsFile* file = io ? lib3ds_file_new() : nullptr;
  const bool read = file && lib3ds_file_read(file, io);
  bool ok = read && !stream.failed && facesInRange(file);
  if (io) {
    // A read that gave up inside lib3ds left its chunks open; closed here,
    // no number of failed loads can overflow lib3ds's nesting record.
    if (file) closeLib3dsChunks(io);
    lib3ds_io_free(io);
  }
  if (!ok) {
    if (file) lib3ds_file_free(file);
    showLoadError(name);
    return nullptr;
  }
  return file;
}

Scene3ds::Scene3ds(const char* name, AssetLoader* loader)
    : file(loader ? loader->load3ds(name) : nullptr) {}

Scene3ds::~Scene3ds() {
  if (file) lib3ds_file_free(file);
}

void Scene3ds::setFrame(float t) {
  if (file) lib3ds_file_eval(file, t);
}

namespace {

struct CameraNodes {
  Lib3dsNode* camera = nullptr;
  Lib3dsNode* target = nullptr;
  bool found() const { return camera && target; }
};

// The camera node and its target share the camera's name.
CameraNodes findCamera(Lib3dsFile* file, const char* name) {
  CameraNodes nodes;
  if (!file || !name) return nodes;
  nodes.camera = lib3ds_file_node_by_name(file, name, LIB3DS_CAMERA_NODE);
  nodes.target = lib3ds_file_node_by_name(file, name, LIB3DS_TARGET_NODE);
  return nodes;
}

void loadProjection(const CameraNodes& nodes, int width, int height, float nearPlane,
                    float farPlane) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  // NOTE: a minimised window reports height 0; keep the aspect finite.
  double aspect = static_cast<double>(width) / static_cast<double>(height > 0 ? height : 1);
  gluPerspective(nodes.camera->data.camera.fov, aspect, nearPlane, farPlane);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  // 3DS worlds are z-up; GL looks down -z with y up.
  glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
}

}  // namespace

void Scene3ds::applyCamera(const char* name, int width, int height) {
  CameraNodes nodes = findCamera(file, name);
  if (!nodes.found()) return;
  loadProjection(nodes, width, height, nearPlane, farPlane);
  Lib3dsMatrix m;
  lib3ds_matrix_camera(m, nodes.camera->data.camera.pos, nodes.target->data.target.pos,
                       nodes.camera->data.camera.roll);
  glMultMatrixf(&m[0][0]);
}

void Scene3ds::applyCameraLookAt(const char* name, int width, int height) {
  CameraNodes nodes = findCamera(file, name);
  if (!nodes.found()) return;
  loadProjection(nodes, width, height, nearPlane, farPlane);
  const float* e = nodes.camera->data.camera.pos;
  const float* c = nodes.target->data.target.pos;
  Vec3 eye(e[0], e[1], e[2]);
  Vec3 f = normalized(Vec3(c[0], c[1], c[2]) - eye);
  Vec3 r0 = normalized(cross(up, f));
  Vec3 r2 = normalized(cross(r0, f));
  const float m[16] = {r0.x,         f.x,         r2.x,         0.0f,  //
                       r0.y,         f.y,         r2.y,         0.0f,  //
                       r0.z,         f.z,         r2.z,         0.0f,  //
                       -r0.dot(eye), -f.dot(eye), -r2.dot(eye), 1.0f};
  glMultMatrixf(m);
}

Vec3 Scene3ds::cameraPosition(const char* name) const {
  Lib3dsNode* camera = file && name ? lib3ds_file_node_by_name(file, name, LIB3DS_CAMERA_NODE)
                                    : nullptr;
  if (!camera) return Vec3();
  const float* p = camera->data.camera.pos;
  return Vec3(p[0], p[1], p[2]);
}

void Scene3ds::cameraMatrix(const char* name, float out[16]) const {
  CameraNodes nodes = findCamera(file, name);
  if (!nodes.found()) {
    for (int i = 0; i < 15; ++i) out[i] = 0.0f;
    out[15] = 1.0f;
    return;
  }
  Lib3dsMatrix m;
  lib3ds_matrix_camera(m, nodes.camera->data.camera.pos, nodes.target->data.target.pos,
                       nodes.camera->data.camera.roll);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) out[i * 4 + j] = m[i][j];
}

void Scene3ds::applyNodeTransform(const char* name) {
  Lib3dsNode* node =
      file && name ? lib3ds_file_node_by_name(file, name, LIB3DS_OBJECT_NODE) : nullptr;
  if (!node) return;
  glMultMatrixf(&node->matrix[0][0]);
  const float* pivot = node->data.object.pivot;
  glTranslatef(-pivot[0], -pivot[1], -pivot[2]);
}
