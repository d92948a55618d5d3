// GlProc: OpenGL entry points by name, from the current context's driver,
// and the names of what the layer itself can do for the show's GL.
#pragma once

#include <string>

namespace platform {

// Null when the driver has no such entry point.
void* glProcAddress(const char* name);

// The layer's own extension names for the current context, each followed
// by a space: "WGL_ARB_pbuffer WGL_ARB_pixel_format " when it can give a
// pixel buffer (a second context sharing this one's objects, drawing into
// a framebuffer object), "WGL_EXT_swap_control " when it can set the swap
// interval. Empty without a current context.
std::string glPlatformExtensions();

}  // namespace platform
