// ScreenTexture: copy-screen and capture textures, and the registry row
// that makes the captures.
#include "gfx/ScreenTexture.h"

#include <cmath>

#include "show/ResourceRegistry.h"

GLenum screenTextureTarget(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return GL_TEXTURE_RECTANGLE_NV;
  const double power = std::pow(2.0, std::ceil(std::log(double(width)) / std::log(2.0)));
  const bool square = double(width) == power && double(height) == power;
  return square ? GL_TEXTURE_2D : GL_TEXTURE_RECTANGLE_NV;
}

ScreenTexture::ScreenTexture(int32_t width, int32_t height, int compressed)
    : width(width), height(height), target(screenTextureTarget(width, height)) {
  glGenTextures(1, &name);
  glBindTexture(target, name);
  glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  const GLint format = compressed ? GL_COMPRESSED_RGB_S3TC_DXT1_EXT : GL_RGB;
  glTexImage2D(target, 0, format, width, height, 0, GL_RGB, GL_FLOAT, nullptr);
}

ScreenTexture::~ScreenTexture() { glDeleteTextures(1, &name); }

void ScreenTexture::copy(int xOffset, int yOffset, int x, int y, int copyWidth, int copyHeight) {
  if (copyWidth == -1) copyWidth = width;
  if (copyHeight == -1) copyHeight = height;
  bind();
  glCopyTexSubImage2D(target, 0, xOffset, yOffset, x, y, copyWidth, copyHeight);
}

void makeCaptureTexture(ResourceRegistry& registry, const char* name) {
  registry.adopt(name, new ScreenTexture(registry.width, registry.height, 0),
                 [](void* value) { delete static_cast<ScreenTexture*>(value); });
}
