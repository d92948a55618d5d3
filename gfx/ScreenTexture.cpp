// ScreenTexture: copy-screen and capture textures.
#include "gfx/ScreenTexture.h"

#include "gfx/ImageLoading.h"

GLenum screenTextureTarget(int32_t width, int32_t height) {
  return width == height && isPowerOfTwo(width) ? GL_TEXTURE_2D : GL_TEXTURE_RECTANGLE_NV;
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
