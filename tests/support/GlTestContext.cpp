#include "support/GlTestContext.h"

#include "gfx/GlExtensions.h"
#include "platform/Window.h"

namespace testsupport {

bool ensureGlContext(int width, int height) {
  static bool ready = false;
  static bool tried = false;
  if (tried) return ready;
  tried = true;
  ready = platform::initVideo() && platform::createWindow("z-olt! tests", width, height) &&
          platform::createContext() && platform::makeContextCurrent();
  if (ready) loadGlEntryPoints();
  return ready;
}

}  // namespace testsupport
