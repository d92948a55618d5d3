// FrameReadback: two pixel-buffer objects taking turns.
#include "app/FrameReadback.h"

#include <cstring>

#include "gfx/GlExtensions.h"

bool FrameReadback::buffersUsable() {
  if (checked == 0) {
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    const char* name = "GL_ARB_pixel_buffer_object";
    bool offered = false;
    for (const char* at = extensions; at && (at = std::strstr(at, name)) != nullptr; at += std::strlen(name)) {
      const char after = at[std::strlen(name)];
      if ((at == extensions || at[-1] == ' ') && (after == ' ' || after == '\0')) offered = true;
    }
    if (offered) loadGlEntryPoints();
    offered = offered && glGenBuffers && glDeleteBuffers && glBindBuffer && glBufferData &&
              glMapBuffer && glUnmapBuffer;
    checked = offered ? 1 : -1;
  }
  return checked > 0;
}

void FrameReadback::read(int width, int height, bool behind, const Use& use) {
  if (!behind || !buffersUsable()) {
    // A read in flight goes first, so the frames stay in order.
    finish(use);
    memory.resize(static_cast<size_t>(width) * height * 4);
    glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, memory.data());
    use(memory.data());
    return;
  }
  if (buffers[0] == 0) glGenBuffers(2, buffers);
  if (width != bufferWidth || height != bufferHeight) {
    finish(use);
    for (unsigned buffer : buffers) {
      glBindBuffer(GL_PIXEL_PACK_BUFFER, buffer);
      glBufferData(GL_PIXEL_PACK_BUFFER, static_cast<GLsizeiptr>(width) * height * 4, nullptr,
                   GL_STREAM_READ);
    }
    bufferWidth = width;
    bufferHeight = height;
  }
  // The buffer not holding the read in flight takes this one.
  const int slot = inFlight == 0 ? 1 : 0;
  glBindBuffer(GL_PIXEL_PACK_BUFFER, buffers[slot]);
  glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
  // Unbound at once: every other read of the show goes to memory.
  glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
  // The earlier read was queued a whole frame ago; by now it has landed.
  finish(use);
  inFlight = slot;
}

bool FrameReadback::finish(const Use& use) {
  if (inFlight < 0) return false;
  glBindBuffer(GL_PIXEL_PACK_BUFFER, buffers[inFlight]);
  inFlight = -1;
  const void* pixels = glMapBuffer(GL_PIXEL_PACK_BUFFER, GL_READ_ONLY);
  // A buffer that cannot be mapped (out of memory) hands over null: the
  // frame is lost, and the caller must not pretend otherwise.
  use(static_cast<const unsigned char*>(pixels));
  if (pixels != nullptr) glUnmapBuffer(GL_PIXEL_PACK_BUFFER);
  glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
  return true;
}

void FrameReadback::release() {
  if (buffers[0] != 0) glDeleteBuffers(2, buffers);
  buffers[0] = buffers[1] = 0;
  inFlight = -1;
  bufferWidth = bufferHeight = 0;
  checked = 0;
  memory = std::vector<unsigned char>();
}
