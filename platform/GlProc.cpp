// GlProc: entry points through SDL's loader for the current context.
#include "platform/GlProc.h"

#include <SDL2/SDL.h>

namespace platform {

void* glProcAddress(const char* name) { return SDL_GL_GetProcAddress(name); }

}  // namespace platform
