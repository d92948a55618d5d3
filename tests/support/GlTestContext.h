// GlTestContext: one hidden window with a current OpenGL context for the
// GL tests, made on first use and kept for the whole test process.
#pragma once

namespace testsupport {

// True when a context is current (headless through the offscreen driver
// where no display exists).
bool ensureGlContext(int width = 640, int height = 480);

}  // namespace testsupport
