// TextureHandle: a texture name made on first bind and deleted with the
// handle.
#include "gfx/TextureHandle.h"

TextureHandle::~TextureHandle() {
  if (created) glDeleteTextures(1, &name);
  created = false;
}

void TextureHandle::bind() {
  if (!created) {
    glGenTextures(1, &name);
    created = true;
  }
  glBindTexture(target, name);
}
