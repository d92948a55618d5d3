// OffscreenPicture: the show's picture drawn into a framebuffer object of
// its own size instead of the window, then laid into the window between
// black bars. While it is bound every draw, screen copy and frame read of
// the window's context goes to it, so they see the picture alone.
#pragma once

#include "gfx/GlExtensions.h"

class OffscreenPicture {
 public:
  OffscreenPicture() = default;
  ~OffscreenPicture() { destroy(); }
  OffscreenPicture(const OffscreenPicture&) = delete;
  OffscreenPicture& operator=(const OffscreenPicture&) = delete;

  // Makes the framebuffer (8 bits a channel with alpha, depth and stencil
  // as the window has them) and binds it. False, with nothing made and the window
  // bound, when the driver cannot.
  bool create(int width, int height);
  // Binds the picture for drawing and reading.
  void bind();
  // Copies the picture into framebuffer `target` (0: the window) with its
  // lower-left corner at (x, y), every other pixel black, and binds the
  // picture again. Other GL state is left as it was.
  void present(GLuint target, int x, int y);
  // Releases the framebuffer; the window is bound afterwards.
  void destroy();

  bool created() const { return framebuffer != 0; }

  int width = 0;
  int height = 0;
  GLuint framebuffer = 0;
  GLuint colourBuffer = 0;
  GLuint depthBuffer = 0;
};
