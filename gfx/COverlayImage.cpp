// COverlayImage: loading and drawing a screen overlay.
#include "gfx/COverlayImage.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

#include "gfx/AssetLoader.h"
#include "gfx/ImageLoading.h"
#include "gfx/ScreenQuad.h"

COverlayImage::COverlayImage(const char* path, AssetLoader* loader) {
  glGenTextures(1, &texture);
  load(path, loader);
}

COverlayImage::~COverlayImage() {
  if (texture) glDeleteTextures(1, &texture);
}

void COverlayImage::load(const char* path, AssetLoader* loader) {
  const char* dot = std::strrchr(path, '.');
  const char* extension = dot ? dot + 1 : path;
  int result = 0;
  if (strncasecmp(extension, "jpg", 3) == 0) {
    if (loader->getJpegSize(path, &imageWidth, &imageHeight) != 0) {
      std::printf("COverlayImage encountered error loading %s\n", path);
      return;
    }
    target = textureTargetFor(imageWidth, imageHeight);
    glBindTexture(target, texture);
    result = loader->loadJpegTexture(path, 0);
  } else if (strncasecmp(extension, "png", 3) == 0) {
    imageWidth = 640;
    imageHeight = 480;
    target = GL_TEXTURE_RECTANGLE_NV;
    glBindTexture(target, texture);
    result = loader->loadPngTexture(path, 0);
  } else {
    return;
  }
  if (result != 0) std::printf("COverlayImage encountered error loading %s\n", path);
}

int COverlayImage::render(float) {
  setScreenOrtho(0.0, drawWidth, 0.0, drawHeight);
  glEnable(target);
  glBindTexture(target, texture);
  // Texture row 0 is the top of the picture.
  const bool rectangle = target == GL_TEXTURE_RECTANGLE_NV;
  const float left = rectangle ? 0.0f : s0;
  const float right = rectangle ? static_cast<float>(imageWidth) : s0 + ds;
  const float top = rectangle ? 0.0f : t0;
  const float bottom = rectangle ? static_cast<float>(imageHeight) : t0 + dt;
  glBegin(GL_QUADS);
  glTexCoord2f(left, bottom);
  glVertex2i(x, y);
  glTexCoord2f(right, bottom);
  glVertex2i(x + drawWidth, y);
  glTexCoord2f(right, top);
  glVertex2i(x + drawWidth, y + drawHeight);
  glTexCoord2f(left, top);
  glVertex2i(x, y + drawHeight);
  glEnd();
  glDisable(target);
  return 0;
}
