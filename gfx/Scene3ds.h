// Scene3ds: one loaded 3DS file and the few things scenes do with it.
//
// Loads through the asset loader (the registry: archive entry or loose file), evaluates the
// keyframe animation at a frame time, sets the GL projection and view from a
// named camera and its target, and applies the animated transform of a
// named object node. Meshes are read straight from `file` by the scenes.
// A file that failed to load leaves `file` null; every operation is then a
// no-op (cameras and nodes count as missing). Depends on lib3ds 1.3 and GLU.
#pragma once

#include <cstdint>

#include "gfx/Vec3.h"

struct Lib3dsFile;
struct Lib3dsIo;
class AssetLoader;

// Reader state over an archive entry held in memory. Reads and seeks are
// bounded by the entry size; anything that reaches past it (a truncated or
// corrupt file) marks the stream failed, and from then on reads give zero
// bytes, which ends every chunk loop of the parser.
struct MemoryStream3ds {
  int32_t size = 0;
  int32_t position = 0;
  const unsigned char* data = nullptr;
  bool failed = false;
  int64_t bytesRead = 0;  // a corrupt chunk tree can loop; this bounds it
};

// A lib3ds I/O object over the stream (free it with lib3ds_io_free).
Lib3dsIo* newMemoryIo3ds(MemoryStream3ds* stream);

// How many chunks lib3ds's process-wide nesting record holds open (0 between
// reads); -1 when it cannot be read back.
int lib3dsChunkNesting();
// Closes every chunk the record holds open (`io` is sought to 0 meanwhile).
void closeLib3dsChunks(Lib3dsIo* io);

// Parses a 3DS file held in memory. On failure shows the "3DS Load error"
// box with `name` as its text and returns null; nothing is leaked.
Lib3dsFile* read3dsFromMemory(const unsigned char* data, int32_t size, const char* name);

class Scene3ds {
 public:
  Scene3ds(const char* name, AssetLoader* loader);
  ~Scene3ds();
  Scene3ds(const Scene3ds&) = delete;
  Scene3ds& operator=(const Scene3ds&) = delete;

  // Every node takes its value at frame time t (keyframe units).
  void setFrame(float t);
  // Projection and view from the named camera and its target, through
  // lib3ds's camera matrix (roll included).
  void applyCamera(const char* name, int width, int height);
  // The same view built by hand from eye, target and `up` (roll ignored).
  void applyCameraLookAt(const char* name, int width, int height);
  // The camera node's current position; the origin when there is none.
  Vec3 cameraPosition(const char* name) const;
  // lib3ds's camera matrix, column-major; all zero but the last element (1)
  // when the camera or its target is missing.
  void cameraMatrix(const char* name, float out[16]) const;
  // Multiplies the current GL matrix by the object node's matrix and moves
  // by minus its pivot; a name the file does not hold changes nothing.
  void applyNodeTransform(const char* name);

  float nearPlane = 0.1f;
  float farPlane = 300.0f;
  Vec3 up{0.0f, 1.0f, 0.0f};
  Lib3dsFile* file = nullptr;
};
