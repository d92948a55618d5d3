// GlWindow: creation, projection, window procedure and shutdown.
#include "app/GlWindow.h"

#include <GL/glu.h>

#include "app/AviWriter.h"
#include "gfx/GlExtensions.h"
#include "app/MainLoop.h"
#include "platform/MessageBox.h"
#include "show/Demo.h"

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

bool windowFullScreen = false;

static bool displayModeChanged = false;

static void shutdownError(const char* text) {
  platform::messageBox(text, "SHUTDOWN ERROR", MessageIcon::Information);
}

static bool creationError(const char* text) {
  shutdown();
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

  if (windowFullScreen && !platform::displayModeAvailable(width, height)) {
    const MessageAnswer answer = platform::messageBox(
        "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode "
        "Instead?",
        "Kiva GL", MessageIcon::Warning, MessageButtons::YesNo);
    if (answer == MessageAnswer::Yes) {
      windowFullScreen = false;
    } else {
      platform::messageBox("Program Will Now Close.", "ERROR", MessageIcon::Stop);
      return false;
    }
  }

  if (!platform::createWindow(title, width, height)) return creationError("Window Creation Error.");
  if (windowFullScreen) {
    if (platform::enterFullScreen(width, height)) {
      displayModeChanged = true;
      platform::showCursor(false);
    } else {
      windowFullScreen = false;
    }
  }
  if (!platform::createContext()) return creationError("Can't Create A GL Rendering Context.");
  if (!platform::makeContextCurrent())
    return creationError("Can't Activate The GL Rendering Context.");

  platform::centerAndShowWindow();
  setProjection(width, height);

  if (!startUp()) {
    shutdown();
    platform::messageBox("Initialization Failed.", "ERROR", MessageIcon::Warning);
    return false;
  }
  return true;
}

void shutdown() {
  if (aviOpen) {
    closeAvi();
    aviOpen = false;
  }
  delete show;
  show = nullptr;

  if (platform::contextExists()) {
    if (!platform::releaseContext()) shutdownError("Release Of DC And RC mFailed.");
    if (!platform::deleteContext()) shutdownError("Release Rendering Context Failed.");
  }
  if (platform::windowExists()) {
    if (displayModeChanged) platform::leaveFullScreen();
    platform::destroyWindow();
  }
  if (displayModeChanged) {
    platform::showCursor(true);
    displayModeChanged = false;
  }
}

void windowProcedure(const platform::Message& message) {
  using platform::MessageKind;
  switch (message.kind) {
    case MessageKind::Activate:
      active = !message.minimized;
      break;
    case MessageKind::Close:
      platform::postQuit(0);
      break;
    case MessageKind::KeyDown:
      pressKey(message.param);
      break;
    case MessageKind::KeyUp:
      releaseKey(message.param);
      break;
    case MessageKind::Char:
      // The show hears the character first; before it exists nobody does.
      if (show != nullptr) show->key(message.param, 0, 0);
      typeCharacter(message.param);
      break;
    case MessageKind::Size:
      setProjection(message.width, message.height);
      break;
    case MessageKind::Quit:
      break;
  }
}
