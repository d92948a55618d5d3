// GlProc: entry points through SDL's loader for the current context, and
// the layer's extension names.
#include "platform/GlProc.h"

#include <GL/gl.h>
#include <SDL2/SDL.h>

#include <cstring>

namespace platform {

void* glProcAddress(const char* name) { return SDL_GL_GetProcAddress(name); }

namespace {

// Whole-word search in a blank-separated list.
bool listHas(const char* list, const char* name) {
  if (!list) return false;
  const size_t length = std::strlen(name);
  for (const char* at = std::strstr(list, name); at; at = std::strstr(at + 1, name)) {
    const bool startsWord = at == list || at[-1] == ' ';
    const bool endsWord = at[length] == ' ' || at[length] == '\0';
    if (startsWord && endsWord) return true;
  }
  return false;
}

bool framebufferObjects() {
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  if (version && version[0] >= '3' && version[0] <= '9' && version[1] == '.') return true;
  const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  return listHas(extensions, "GL_ARB_framebuffer_object") || listHas(extensions, "GL_EXT_framebuffer_object");
}

}  // namespace

std::string glPlatformExtensions() {
  if (SDL_GL_GetCurrentContext() == nullptr) return "";
  std::string names;
  // SDL shares objects between contexts on every driver it supports; the
  // pixel buffer needs only that and framebuffer objects.
  if (framebufferObjects()) names += "WGL_ARB_pbuffer WGL_ARB_pixel_format ";
  // Setting the interval it already has tells whether the driver lets it
  // be set at all, without changing anything.
  if (SDL_GL_SetSwapInterval(SDL_GL_GetSwapInterval()) == 0) names += "WGL_EXT_swap_control ";
  return names;
}

}  // namespace platform
