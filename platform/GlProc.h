// GlProc: OpenGL entry points by name, from the current context's driver.
#pragma once

namespace platform {

// Null when the driver has no such entry point.
void* glProcAddress(const char* name);

}  // namespace platform
