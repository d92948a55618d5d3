// OffsetMap: the animated grid of (ds, dt) offsets the screen distortion
// displaces the frame by ("MessDSDT").
//
// Recomputed on every update from the time and one draw of the shared
// random generator. On NVIDIA the offsets also live in a DSDT texture that
// the texture shaders read; elsewhere the registry sets scaleX, scaleY to
// the output size so they are in pixels, and the fragment program path
// reads them from a float texture (two signed components per texel, as
// stored) while the strip grid reads `offsets` directly. Scenes animate
// `fade` (1: no displacement) and `jitter`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/DistortionPath.h"
#include "gfx/GlExtensions.h"
#include "gfx/TextureHandle.h"

class OffsetMap {
 public:
  // A zeroed map; on NVIDIA and on the fragment program path its texture is
  // made and filled (needs a current GL context).
  OffsetMap(int32_t width, int32_t height);
  OffsetMap(int32_t width, int32_t height, bool nvidia);
  OffsetMap(int32_t width, int32_t height, DistortionPath path);
  virtual ~OffsetMap() = default;
  OffsetMap(const OffsetMap&) = delete;
  OffsetMap& operator=(const OffsetMap&) = delete;

  // Recomputes the offsets for time t (seconds); re-uploads them where a
  // texture holds them.
  virtual void update(float t);
  // Copies `offsets` into the texture, where there is one.
  void upload();

  // Offset component c (0: ds, 1: dt) of flat texel index `index` (row-major);
  // zero past the map's end.
  float offsetAt(int64_t index, int c) const {
    return index >= 0 && index < int64_t(mapWidth) * mapHeight ? offsets[std::size_t(index * components + c)] : 0.0f;
  }

  bool nvidia;
  bool floatTexture = false;  // the fragment program path's GL_RG32F texture
  int32_t mapWidth;
  int32_t mapHeight;
  GLenum format = GL_DSDT_NV;
  int32_t components = 2;
  std::vector<float> offsets;
  TextureHandle texture{GL_TEXTURE_2D};
  float jitter = 0.15f;
  float fade = 1.0f;
  float scaleX = 1.0f;
  float scaleY = 1.0f;
};
