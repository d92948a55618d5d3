// OffscreenPicture: framebuffer object, and the blit into the window.
#include "gfx/OffscreenPicture.h"

namespace {

bool entryPointsPresent() {
  return glGenFramebuffers && glDeleteFramebuffers && glBindFramebuffer && glFramebufferRenderbuffer &&
         glCheckFramebufferStatus && glGenRenderbuffers && glDeleteRenderbuffers &&
         glBindRenderbuffer && glRenderbufferStorage && glBlitFramebuffer;
}

GLuint makeRenderbuffer(GLenum format, int width, int height) {
  GLuint name = 0;
  glGenRenderbuffers(1, &name);
  glBindRenderbuffer(GL_RENDERBUFFER, name);
  glRenderbufferStorage(GL_RENDERBUFFER, format, width, height);
  glBindRenderbuffer(GL_RENDERBUFFER, 0);
  return name;
}

}  // namespace

bool OffscreenPicture::create(int pictureWidth, int pictureHeight) {
  destroy();
  if (!entryPointsPresent() || pictureWidth <= 0 || pictureHeight <= 0) return false;
  GLint largest = 0;
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
  if (pictureWidth > largest || pictureHeight > largest) return false;

  // NOTE: depth and stencil as the window has them, so depth tests come out
  // as they do drawn straight into the window.
  GLint depthBits = 0, stencilBits = 0;
  glGetIntegerv(GL_DEPTH_BITS, &depthBits);
  glGetIntegerv(GL_STENCIL_BITS, &stencilBits);
  const bool stencil = stencilBits > 0;
  const GLenum depthFormat = stencil                            ? GL_DEPTH24_STENCIL8
                             : depthBits > 0 && depthBits <= 16 ? GL_DEPTH_COMPONENT16
                             : depthBits >= 32                  ? GL_DEPTH_COMPONENT32
                                                                : GL_DEPTH_COMPONENT24;
  colourBuffer = makeRenderbuffer(GL_RGBA8, pictureWidth, pictureHeight);
  depthBuffer = makeRenderbuffer(depthFormat, pictureWidth, pictureHeight);
  glGenFramebuffers(1, &framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colourBuffer);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, stencil ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT,
                            GL_RENDERBUFFER, depthBuffer);
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    destroy();
    return false;
  }
  width = pictureWidth;
  height = pictureHeight;
  return true;
}

void OffscreenPicture::bind() {
  if (framebuffer != 0) glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
}

void OffscreenPicture::present(GLuint target, int x, int y) {
  if (framebuffer == 0) return;
  // Clears and blits obey the scissor and the colour mask: both off here.
  glPushAttrib(GL_COLOR_BUFFER_BIT | GL_SCISSOR_BIT);
  glDisable(GL_SCISSOR_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, target);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
  glBlitFramebuffer(0, 0, width, height, x, y, x + width, y + height, GL_COLOR_BUFFER_BIT,
                    GL_NEAREST);
  // NOTE: the picture is bound before the pop: the colour-buffer group
  // holds the draw buffer, which only the picture has.
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glPopAttrib();
}

void OffscreenPicture::destroy() {
  if (framebuffer != 0 || colourBuffer != 0 || depthBuffer != 0) glBindFramebuffer(GL_FRAMEBUFFER, 0);
  if (framebuffer != 0) glDeleteFramebuffers(1, &framebuffer);
  if (colourBuffer != 0) glDeleteRenderbuffers(1, &colourBuffer);
  if (depthBuffer != 0) glDeleteRenderbuffers(1, &depthBuffer);
  framebuffer = colourBuffer = depthBuffer = 0;
  width = height = 0;
}
