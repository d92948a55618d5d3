// GlExtensions: the entry-point pointers and their loader.
#include "gfx/GlExtensions.h"

#include "platform/GlProc.h"

#define ZOLT_GL_DEFINE(type, name) type zolt_##name = nullptr;
ZOLT_GL_ENTRY_POINTS(ZOLT_GL_DEFINE)
#undef ZOLT_GL_DEFINE

int loadGlEntryPoints() {
  int missing = 0;
#define ZOLT_GL_FETCH(type, name)                                            \
  if (zolt_##name == nullptr)                                                \
    zolt_##name = reinterpret_cast<type>(platform::glProcAddress(#name));    \
  if (zolt_##name == nullptr) ++missing;
  ZOLT_GL_ENTRY_POINTS(ZOLT_GL_FETCH)
#undef ZOLT_GL_FETCH
  return missing;
}
