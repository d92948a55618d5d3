// GlWindow: the show's window and OpenGL context, the projection, the
// window procedure that feeds the loop and the show, and the shutdown.
#pragma once

#include "platform/Window.h"

// Creates the window (full screen when asked and possible), its context and
// projection, then runs the start-up. False after telling the viewer why.
bool createWindow(const char* title, int width, int height, int bits, bool fullScreen);

// Releases the show, the context, the window and the display mode, in that
// order; runs once, whatever state creation reached.
void shutdown();

// Perspective projection for a w x h viewport (h = 0 taken as 1).
void setProjection(int width, int height);

// Handles one window message as the window procedure does.
void windowProcedure(const platform::Message& message);

// The window's full-screen flag (creation may clear it).
extern bool windowFullScreen;
