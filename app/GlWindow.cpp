// GlWindow: creation, projection and release.
#include "app/GlWindow.h"

#include <GL/glu.h>

#include <cstdio>

#include "gfx/GlExtensions.h"
#include "platform/MessageBox.h"
#include "platform/Window.h"

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

bool windowFullScreen = false;
DisplayModeCalls displayModeCalls = {platform::displayModeAvailable, platform::enterFullScreen};

void (*desktopSizeCall)(int* width, int* height) = platform::desktopSize;
bool windowDesktopPicture = false;
DesktopLayout windowDesktopLayout;

static bool displayModeChanged = false;
static bool desktopFullScreenOn = false;

static void shutdownError(const char* text) {
  platform::messageBox(text, "SHUTDOWN ERROR", MessageIcon::Information);
}

// Asks whether to play windowed when full screen cannot be had; false after
// saying the program closes.
static bool acceptWindowed() {
  const MessageAnswer answer = platform::messageBox(
      "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode "
      "Instead?",
      "Kiva GL", MessageIcon::Warning, MessageButtons::YesNo);
  if (answer == MessageAnswer::Yes) {
    windowFullScreen = false;
    return true;
  }
  platform::messageBox("Program Will Now Close.", "ERROR", MessageIcon::Stop);
  return false;
}

static bool creationError(const char* text) {
  releaseWindow();
  platform::messageBox(text, "ERROR", MessageIcon::Warning);
  return false;
}

void setProjection(int width, int height) {
  if (height == 0) height = 1;
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, static_cast<double>(width) / static_cast<double>(height),
                 static_cast<double>(0.1f), 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

bool createWindow(const char* title, int width, int height, int bits, bool fullScreen) {
  (void)bits;  // always 32-bit RGBA
  windowFullScreen = fullScreen;
  if (!platform::initVideo()) {
    platform::messageBox("Failed To Register The Window Class.", "ERROR", MessageIcon::Warning);
    return false;
  }

  if (windowFullScreen && !displayModeCalls.available(width, height)) {
    if (!acceptWindowed()) return false;
  }

  if (!platform::createWindow(title, width, height)) return creationError("Window Creation Error.");
  if (windowFullScreen) {
    if (displayModeCalls.enter(width, height)) {
      displayModeChanged = true;
      platform::showCursor(false);
    } else if (!acceptWindowed()) {
      // A listed mode the display still refused is put to the viewer the
      // same way as one that is not listed.
      releaseWindow();
      return false;
    }
  }
  if (!platform::createContext()) return creationError("Can't Create A GL Rendering Context.");
  if (!platform::makeContextCurrent())
    return creationError("Can't Activate The GL Rendering Context.");

  platform::centerAndShowWindow();
  setProjection(width, height);
  return true;
}

bool createDesktopWindow(const char* title, DesktopLayout* layout) {
  windowFullScreen = true;
  if (!platform::initVideo()) {
    platform::messageBox("Failed To Register The Window Class.", "ERROR", MessageIcon::Warning);
    return false;
  }
  int width = 0, height = 0;
  desktopSizeCall(&width, &height);
  if (!platform::createWindow(title, width, height)) return creationError("Window Creation Error.");
  if (platform::enterDesktopFullScreen()) {
    desktopFullScreenOn = true;
    platform::showCursor(false);
  } else {
    // NOTE: the window already covers the desktop; the show plays in it.
    windowFullScreen = false;
    std::printf("Desktop full screen refused: the show plays in a window of the desktop's size\n");
  }
  if (!platform::createContext()) return creationError("Can't Create A GL Rendering Context.");
  if (!platform::makeContextCurrent())
    return creationError("Can't Activate The GL Rendering Context.");
  platform::centerAndShowWindow();

  // On a scaled desktop the GL surface has more pixels than the window.
  int drawWidth = 0, drawHeight = 0;
  platform::drawableSize(&drawWidth, &drawHeight);
  if (drawWidth > 0 && drawHeight > 0) {
    width = drawWidth;
    height = drawHeight;
  }
  *layout = desktopLayout(width, height);
  windowDesktopLayout = *layout;
  windowDesktopPicture = true;
  setProjection(layout->pictureWidth, layout->pictureHeight);
  return true;
}

void releaseWindow() {
  if (platform::contextExists()) {
    if (!platform::releaseContext()) shutdownError("Release Of DC And RC mFailed.");
    if (!platform::deleteContext()) shutdownError("Release Rendering Context Failed.");
  }
  if (platform::windowExists()) {
    if (displayModeChanged || desktopFullScreenOn) platform::leaveFullScreen();
    platform::destroyWindow();
  }
  if (displayModeChanged || desktopFullScreenOn) {
    platform::showCursor(true);
    displayModeChanged = false;
    desktopFullScreenOn = false;
  }
  windowDesktopPicture = false;
}
