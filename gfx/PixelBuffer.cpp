// PixelBuffer: a shared second context rendering into a framebuffer object.
#include "gfx/PixelBuffer.h"

#include "platform/SharedContext.h"

namespace {

// Every pixel-buffer failure ends the show this way. NOTE: an exit here
// would leave a recording without its index and say nothing.
[[noreturn]] void pixelBufferFailed() {
  throw PixelBufferFailure("The off-screen picture buffer cannot be made or used (out of memory?).");
}

bool framebufferEntryPointsPresent() {
  return glGenFramebuffers && glDeleteFramebuffers && glBindFramebuffer && glFramebufferRenderbuffer &&
         glCheckFramebufferStatus && glGenRenderbuffers && glDeleteRenderbuffers && glBindRenderbuffer &&
         glRenderbufferStorage && glGetRenderbufferParameteriv;
}

GLuint makeRenderbuffer(GLenum format, int32_t width, int32_t height) {
  GLuint name = 0;
  glGenRenderbuffers(1, &name);
  glBindRenderbuffer(GL_RENDERBUFFER, name);
  glRenderbufferStorage(GL_RENDERBUFFER, format, width, height);
  return name;
}

}  // namespace

void PixelBuffer::create(bool shareLists) {
  if (bufferContext) return;
  if (!framebufferEntryPointsPresent() || width <= 0 || height <= 0) pixelBufferFailed();
  bufferContext = platform::createSharedContext(shareLists);
  if (!bufferContext) pixelBufferFailed();
  makeCurrent();

  // NOTE: the framebuffer object lives in this context alone; the
  // renderbuffers behind it are shared like textures.
  colourBuffer = makeRenderbuffer(GL_RGBA8, width, height);
  depthBuffer = makeRenderbuffer(GL_DEPTH_COMPONENT24, width, height);
  glGenFramebuffers(1, &framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colourBuffer);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer);
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) pixelBufferFailed();

  GLint madeWidth = 0, madeHeight = 0;
  glBindRenderbuffer(GL_RENDERBUFFER, colourBuffer);
  glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_WIDTH, &madeWidth);
  glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_HEIGHT, &madeHeight);
  glBindRenderbuffer(GL_RENDERBUFFER, 0);
  width = madeWidth;
  height = madeHeight;
  // A fresh context's viewport is its first surface's size: here the
  // window's, so it starts at the buffer's own size instead.
  glViewport(0, 0, width, height);
  restore();
}

void PixelBuffer::makeCurrent() {
  if (!platform::makeSharedContextCurrent(bufferContext)) pixelBufferFailed();
}

void PixelBuffer::restore() {
  if (!platform::restoreCreatorContext(bufferContext)) pixelBufferFailed();
}

void PixelBuffer::destroy() {
  if (!bufferContext) return;
  if (platform::makeSharedContextCurrent(bufferContext)) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteRenderbuffers(1, &colourBuffer);
    glDeleteRenderbuffers(1, &depthBuffer);
  }
  platform::destroySharedContext(bufferContext);
  bufferContext = nullptr;
  framebuffer = colourBuffer = depthBuffer = 0;
}
