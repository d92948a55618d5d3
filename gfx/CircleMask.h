// CircleMask: the round stencil that turns a square light or view into a
// disc ("CircleMask" in the registry).
//
// A 512 x 512 one-channel picture: white inside the disc of radius 255
// texels about (256, 256), black outside, with a black one-texel border so
// that clamping beyond its edge stays black. Uploading needs a current GL
// context.
#pragma once

#include <vector>

#include "gfx/TextureHandle.h"

constexpr int circleMaskSize = 512;

// The disc picture, row by row, one byte a texel.
std::vector<unsigned char> circleMaskImage();

// Binds `texture` and defines it as the disc picture: linear filtering,
// clamped to the edge, luminance.
void uploadCircleMask(TextureHandle& texture);
