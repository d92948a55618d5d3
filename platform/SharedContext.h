// SharedContext: a second OpenGL context beside the window's, for the
// off-screen pixel buffer.
//
// Stands where the WGL pixel buffer's own context stood: it is made
// against the context current at the time (the window's) and may share
// display lists and textures with it. It renders into the window's
// surface until the caller binds its own frame buffer, so the pixel buffer
// (gfx/PixelBuffer) binds a framebuffer object of its own in it.
#pragma once

namespace platform {

struct SharedContext;

// Made against the current context, which is current again on return.
// Null when no context is current or the driver refuses one.
SharedContext* createSharedContext(bool shareLists);
// Makes the shared context current; false on failure.
bool makeSharedContextCurrent(SharedContext* shared);
// Makes the context that was current at creation current again.
bool restoreCreatorContext(SharedContext* shared);
// Deletes the context; the creator's context is made current first when
// the shared one is current.
void destroySharedContext(SharedContext* shared);

}  // namespace platform
