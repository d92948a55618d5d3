// GlWindow: the show's window and OpenGL context, the projection, and their
// release.
#pragma once

#include "app/DesktopLayout.h"

// Creates the window (full screen when asked and possible), its context and
// projection. False after telling the viewer why.
bool createWindow(const char* title, int width, int height, int bits, bool fullScreen);

// Creates the window full screen at the desktop's own size, without a
// display-mode change, and its context; fills `layout` with where the
// picture goes on it and sets the picture's projection. False after telling
// the viewer why.
bool createDesktopWindow(const char* title, DesktopLayout* layout);

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

// The desktop size the desktop window asks for; replaceable like the
// display-mode calls.
extern void (*desktopSizeCall)(int* width, int* height);

// Set while the window is a desktop window: the picture is drawn off
// screen and laid into the window by this layout.
extern bool windowDesktopPicture;
extern DesktopLayout windowDesktopLayout;
