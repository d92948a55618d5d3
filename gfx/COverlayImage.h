// COverlayImage: a picture drawn over the frame (or placed in it) as one
// textured quad in an orthographic projection of drawWidth x drawHeight.
//
// JPEG overlays take their size from the file and pick the texture target
// by it; PNG overlays are always taken to be 640x480 (rectangle target).
// Blending and colour are the caller's.
#pragma once

#include <cstdint>

#include "gfx/GlExtensions.h"
#include "gfx/Effect.h"

class AssetLoader;

class COverlayImage final : public Effect {
 public:
  COverlayImage(const char* path, AssetLoader* loader);
  ~COverlayImage();
  COverlayImage(const COverlayImage&) = delete;
  COverlayImage& operator=(const COverlayImage&) = delete;

  // Loads the picture into `texture`; prints a line when it cannot.
  void load(const char* path, AssetLoader* loader);
  int render(float t) override;

  GLuint texture = 0;
  int32_t imageWidth = 0;
  int32_t imageHeight = 0;
  GLenum target = GL_TEXTURE_2D;
  int32_t x = 0;
  int32_t y = 0;
  int32_t drawWidth = 640;
  int32_t drawHeight = 480;
  float s0 = 0.0f;
  float t0 = 0.0f;
  float ds = 1.0f;
  float dt = 1.0f;
};
