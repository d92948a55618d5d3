// TextureHandle: owning handle of one OpenGL texture name.
//
// The name is generated on the first bind, so a handle can be a plain
// member built before any context exists; destruction deletes the name only
// when one was made. Used by the shadow light, the circle mask and the
// offset maps. Needs a current GL context for bind and destruction.
#pragma once

#include "gfx/GlExtensions.h"

class TextureHandle {
 public:
  explicit TextureHandle(GLenum target = GL_TEXTURE_2D) : target(target) {}
  ~TextureHandle();
  TextureHandle(const TextureHandle&) = delete;
  TextureHandle& operator=(const TextureHandle&) = delete;

  // Binds the texture on its target, generating the name on first use.
  void bind();

  bool created = false;
  GLuint name = 0;
  GLenum target;
};
