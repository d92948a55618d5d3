// PixelBuffer: the off-screen surface with its own OpenGL context.
//
// Effects draw into it between makeCurrent and restore and copy the
// result into a ScreenTexture while it is still current. Its context keeps
// its own GL state (matrices, viewport, blending, clear colour) and, when
// made with shareLists, shares display lists and textures with the
// window's context, so a texture filled here is drawn there. The surface
// is a framebuffer object with colour and depth, bound in that context
// only. Any failure to create it or to switch contexts (a driver out of
// memory, mostly) throws PixelBufferFailure: the show cannot go on, but the
// process ends through its entry, which finishes a recording and says why.
// The registry makes "PBuffer512x512" and owns it.
#pragma once

#include <cstdint>
#include <stdexcept>

#include "gfx/GlExtensions.h"

namespace platform {
struct SharedContext;
}

struct PixelBufferFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class PixelBuffer {
 public:
  // Stores the size; nothing is created yet.
  PixelBuffer(int32_t width, int32_t height) : width(width), height(height) {}
  ~PixelBuffer() { destroy(); }
  PixelBuffer(const PixelBuffer&) = delete;
  PixelBuffer& operator=(const PixelBuffer&) = delete;

  // Makes the context and its surface against the current context, which
  // is current again on return. `width` and `height` become the size the
  // driver made.
  void create(bool shareLists);
  // Switches to the buffer's context (its surface bound).
  void makeCurrent();
  // Switches back to the context that was current at creation.
  void restore();
  // Releases the surface and the context; the creator's context is current
  // afterwards when the buffer's was.
  void destroy();

  int32_t width;
  int32_t height;
  platform::SharedContext* bufferContext = nullptr;
  GLuint framebuffer = 0;
  GLuint colourBuffer = 0;
  GLuint depthBuffer = 0;
};
