// GlWindow: the show's window and OpenGL context, the projection, and their
// release.
#pragma once

// Creates the window (full screen when asked and possible), its context and
// projection. False after telling the viewer why.
bool createWindow(const char* title, int width, int height, int bits, bool fullScreen);

// Releases the context, the window and the display mode, in that order;
// safe whatever state creation reached.
void releaseWindow();

// Perspective projection for a w x h viewport (h = 0 taken as 1).
void setProjection(int width, int height);

// The window's full-screen flag (creation may clear it).
extern bool windowFullScreen;

// The display-mode calls creation makes; replaceable so the answers a
// display gives can be chosen.
struct DisplayModeCalls {
  bool (*available)(int width, int height);
  bool (*enter)(int width, int height);
};
extern DisplayModeCalls displayModeCalls;
