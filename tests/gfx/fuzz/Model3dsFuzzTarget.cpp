// libFuzzer target for the 3DS adapter from memory: the pre-check, the load
// through lib3ds, frame evaluation over the keyframe range, and every
// camera and mesh the scenes would read. lib3ds's nesting record must be
// back at zero after every input, failed loads included.
#include <lib3ds/camera.h>
#include <lib3ds/file.h>
#include <lib3ds/mesh.h>
#include <lib3ds/node.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "gfx/AssetLoader.h"
#include "gfx/Scene3ds.h"

namespace {

// Hands the fuzzer's bytes to the adapter as the registry hands an entry.
struct BytesLoader final : AssetLoader {
  const uint8_t* data = nullptr;
  size_t size = 0;
  int loadJpegTexture(const char*, int) override { return -1; }
  int getJpegSize(const char*, int32_t*, int32_t*) override { return -1; }
  int decodeJpeg(const char*, unsigned char*) override { return -1; }
  int loadPngTexture(const char*, int) override { return -1; }
  Lib3dsFile* load3ds(const char* name) override {
    return read3dsFromMemory(data, static_cast<int32_t>(size), name);
  }
};

volatile float sink;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1 << 20) return 0;
  BytesLoader loader;
  loader.data = data;
  loader.size = size;
  {
    Scene3ds scene("fuzz.3ds", &loader);
    float sum = 0.0f, matrix[16];
    const float frames[] = {0.0f, 0.5f, 50.0f, 129.0f, 450.0f, -3.0f, 1e9f};
    for (float t : frames) {
      scene.setFrame(t);
      if (!scene.file) break;
      for (Lib3dsCamera* c = scene.file->cameras; c; c = c->next) {
        sum += scene.cameraPosition(c->name).x;
        scene.cameraMatrix(c->name, matrix);
        sum += matrix[0];
      }
      scene.cameraMatrix("Camera01", matrix);
      sum += scene.cameraPosition("missing").y;
    }
    // What the scenes read from the meshes: every face's corners.
    if (scene.file)
      for (Lib3dsMesh* mesh = scene.file->meshes; mesh; mesh = mesh->next)
        for (Lib3dsDword f = 0; f < mesh->faces; ++f)
          for (int k = 0; k < 3; ++k) sum += mesh->pointL[mesh->faceL[f].points[k]].pos[0];
    sink = sum;
  }
  if (lib3dsChunkNesting() != 0) std::abort();
  return 0;
}
