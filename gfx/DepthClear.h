// DepthClear: how every depth clear in the show is made.
#pragma once

#include "gfx/GlExtensions.h"

// Clears depth (and `alsoClear`, e.g. the colour) together with the stencil.
// The show never uses the stencil, but its buffer shares a word with depth
// on most drivers; cleared whole, that is one store a pixel, where a
// depth-only clear must read and keep the stencil bits (on a software
// rasteriser the masked clear was a tenth of scene 7's raster work).
inline void clearDepth(GLbitfield alsoClear = 0) {
  glClear(alsoClear | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}
