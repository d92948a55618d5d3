// ScreenTexture: a texture filled by copying from the current frame buffer.
//
// Copy-screen textures and the per-scene captures of the finale are these.
// Only square power-of-two sizes get a 2D texture; every other size is a
// rectangle texture, addressed in texels. Construction and every call need
// a current GL context. The registry makes them by name ("Capture0" ...)
// and owns them.
#pragma once

#include <cstdint>

#include "gfx/GlExtensions.h"


class ScreenTexture {
 public:
  // Defines level 0 without data (RGB, or DXT1 when `compressed`).
  ScreenTexture(int32_t width, int32_t height, int compressed);
  ~ScreenTexture();
  ScreenTexture(const ScreenTexture&) = delete;
  ScreenTexture& operator=(const ScreenTexture&) = delete;

  // Copies the frame buffer's rectangle at (x, y) into the texture at
  // (xOffset, yOffset); a size of -1 means the texture's own width or height.
  void copy(int xOffset, int yOffset, int x, int y, int copyWidth, int copyHeight);
  void bind() const { glBindTexture(target, name); }
  void enable() const { glEnable(target); }
  void disable() const { glDisable(target); }

  int32_t width;
  int32_t height;
  GLenum target;
  GLuint name = 0;
};

// The target a texture of this size gets: 2D only for a square power of two.
GLenum screenTextureTarget(int32_t width, int32_t height);

