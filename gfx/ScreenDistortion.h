// ScreenDistortion: copies the frame so far and draws it back displaced by
// the offset map ("SimpleDSDT").
//
// Three paths (gfx/DistortionPath.h): on NVIDIA the texture shaders offset
// the frame's texture coordinates by the map's DSDT texture (a "!!TS1.0"
// program compiled into a display list); where the driver has ARB fragment
// programs the same program, translated, does it per pixel on one quad,
// reading the map's float texture of pixel offsets; on every other driver
// the frame is drawn as a grid of quad strips whose texture coordinates
// are moved by the offsets, the grid's upper edge undisplaced. The two
// quad paths read the map with filtering, the grid per cell corner, so
// they agree where the offsets are smooth. With the map's fade at 1 the frame comes
// back unchanged. Leaves the screen projection and a model-view identity
// set; blending and colour are the caller's. The registry makes it with
// its map and owns both.
#pragma once

#include <cstdint>
#include <memory>

#include "gfx/DisplayList.h"
#include "gfx/DistortionPath.h"
#include "gfx/Effect.h"
#include "gfx/OffsetMap.h"
#include "gfx/OffsetProgram.h"
#include "gfx/ScreenTexture.h"

namespace shaderparse {
class NvCallSink;
}

class ScreenDistortion final : public Effect {
 public:
  // Output size; the path follows the vendor. Needs a current GL context.
  ScreenDistortion(int32_t width, int32_t height);
  ScreenDistortion(int32_t width, int32_t height, bool nvidia);
  ScreenDistortion(int32_t width, int32_t height, DistortionPath path);
  ~ScreenDistortion() = default;
  ScreenDistortion(const ScreenDistortion&) = delete;
  ScreenDistortion& operator=(const ScreenDistortion&) = delete;

  // Updates the map, copies the frame, clears and draws it back displaced.
  int render(float t) override;

  // The texture-shader program for a rectangle or a 2D frame texture.
  static const char* programText(bool rectangle);
  // Compiles the program for this size into `program`; the parser's calls
  // go to `sink`, or to the GL when it is null.
  void compileProgram(shaderparse::NvCallSink* sink = nullptr);

  ScreenTexture screenTexture;
  DistortionPath path;
  bool nvidia;
  bool rectangle;
  float offsetMatrix[4];
  int32_t width;
  int32_t height;
  DisplayList program;
  OffsetProgram fragmentProgram;  // the fragment program path's translation
  // Owned: the registry's "MessDSDT".
  std::unique_ptr<OffsetMap> offsetMap;

 private:
  void drawWithTextureShaders();
  void drawWithFragmentProgram();
  void drawOffsetQuad() const;
  void drawGrid();
};
