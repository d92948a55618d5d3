// MainLoop: start-up, frame loop, capture and keys.
#include "app/MainLoop.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/AviWriter.h"
#include "app/DesktopPicture.h"
#include "app/ExitStatus.h"
#include "app/GlWindow.h"
#include "app/LaunchSettings.h"
#include "app/WatchKeys.h"
#include "gfx/DistortionPath.h"
#include "gfx/ExtensionSetup.h"
#include "gfx/GlExtensions.h"
#include "platform/GlProc.h"
#include "platform/Interrupt.h"
#include "platform/MessageBox.h"
#include "platform/Clock.h"
#include "scenes/ShowOrder.h"
#include "show/Demo.h"
#include "show/Scene.h"
#include "show/LoadingScreen.h"
#include "show/ResourceRegistry.h"

LoopState loop;

static void syncEntry(int code) { loop.keyTable[code] = loop.keysDown[code] | loop.charactersTyped[code]; }

void pressKey(int code) {
  code &= 0xff;
  // A held key's repeats are no new presses.
  if (!loop.keysDown[code] && loop.keyPresses[code] < 255) ++loop.keyPresses[code];
  loop.keysDown[code] = 1;
  syncEntry(code);
}

void releaseKey(int code) {
  code &= 0xff;
  loop.keysDown[code] = 0;
  syncEntry(code);
}

void typeCharacter(int code) {
  code &= 0xff;
  loop.charactersTyped[code] = 1;
  syncEntry(code);
}

void clearKeyTable() {
  for (int i = 0; i < 256; ++i)
    loop.keyTable[i] = loop.keysDown[i] = loop.charactersTyped[i] = loop.keyPresses[i] = 0;
  loop.captureKeyWasDown = false;
  clearWatchKeys();
}

const char* captureFileName(int n) {
  static std::string name;
  name = launchSettings.captureFile;
  if (n > 0) {
    // "-2" goes before the extension, so the container stays the same.
    const size_t slash = name.find_last_of('/');
    const size_t dot = name.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && dot > 0 &&
                              (slash == std::string::npos || dot > slash + 1);
    name.insert(hasExtension ? dot : name.size(), "-" + std::to_string(n + 1));
  }
  return name.c_str();
}

// Opens the next capture file; capture goes off when it cannot be made.
static void openCapture() {
  const char* name = captureFileName(loop.capturesOpened++);
  if (!openAvi(name, launchSettings.captureFps, launchSettings.width, launchSettings.height)) {
    loop.capturing = false;
    return;
  }
  loop.aviOpen = true;
}

static void closeCapture() {
  if (loop.aviOpen) closeAvi();
  loop.aviOpen = false;
  std::printf("\n\nAVI ended\n");
  std::fflush(stdout);
}

void runKeyHandler() {
  if (loop.keyTable[27] || loop.keyTable[113]) loop.quit = true;

  const bool captureKeyDown = loop.keyTable[109] != 0;
  if (captureKeyDown && !loop.captureKeyWasDown) {
    loop.capturing = !loop.capturing;
    if (!loop.capturing) closeCapture();
  }
  runWatchKeys();

  // Typed characters have been seen; what stays is what is held.
  for (int i = 0; i < 256; ++i) {
    if (loop.charactersTyped[i]) {
      loop.charactersTyped[i] = 0;
      syncEntry(i);
    }
  }
  loop.captureKeyWasDown = loop.keyTable[109] != 0;
}

void startCaptureAtLaunch() {
  openCapture();
  if (loop.aviOpen) loop.capturing = true;
}

bool startUp() {
  if (launchSettings.captureAtStart) startCaptureAtLaunch();

  // What the driver must offer, checked before anything is loaded; a
  // missing extension ends the process here.
  ExtensionChecker checker(currentGlStrings(), platform::glProcAddress);
  bool swapControl = false;
  if (const char* failure = runExtensionStartUp(checker, launchSettings.quality, &swapControl)) {
    platform::messageBox(failure, kExtensionFailureCaption, platform::MessageIcon::Information);
    releaseWindow();
    std::exit(kExitCannotStart);
  }
  loadGlEntryPoints();  // the entry points outside the checked extensions
  std::printf("distortion: %s\n", distortionPathName(distortionPath()));
  if (swapControl) platform::setSwapInterval(1);
  // A desktop window shows the picture between bars; it is drawn off screen
  // from the loading screen on. A recording from launch is drawn off screen
  // too, at the window's size, so it holds the same pixels with or without
  // the desktop window.
  if (!windowDesktopPicture && launchSettings.captureAtStart) {
    windowDesktopLayout = desktopLayout(launchSettings.width, launchSettings.height);
    windowDesktopPicture = true;
  }
  if (windowDesktopPicture) startDesktopPicture(windowDesktopLayout);

  auto* registry = new ResourceRegistry();
  registry->usePack = true;
  registry->packName = launchSettings.archivePath;
  registry->good = launchSettings.quality ? 1 : 0;
  registry->width = launchSettings.width;
  registry->height = launchSettings.height;

  loop.show = new Demo(registry, showOrder);
  loop.show->timeOffset = launchSettings.timeOffset;
  bool recordingHasSound = false;
  if (loop.capturing) {
    loop.show->useCaptureClock();
    // A capture from launch runs on the show's own timeline, so the
    // soundtrack can go into the file beside the frames, exactly in step.
    if (launchSettings.captureAtStart && !loop.show->musicFile.empty())
      recordingHasSound = attachAviSoundtrack(loop.show->musicFile.c_str());
  }

  runLoadingSequence(*loop.show, launchSettings.startScene);
  // A recording from launch that starts at a later scene: the sound in the
  // file starts with that scene too (a silent one has nothing to start).
  if (recordingHasSound && loop.capturing && loop.show->current > 0)
    startAviSoundtrackAt(loop.show->scenes[loop.show->current]->startTime);

  loop.counterFrequency = platform::performanceFrequency();
  return true;
}

// Takes every GL error flag raised since the last frame (loading included,
// for the first); with /e each is printed with the frame it followed.
static void collectGlErrors(int frame) {
  for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
    ++loop.glErrors;
    if (launchSettings.reportGlErrors)
      std::printf("GL error 0x%04x after frame %d (clock %.3f s)\n", error, frame, loop.clock);
  }
}

// While recording: the file frame at which each scene begins, once per
// scene, so a recording can be cut or checked scene by scene.
static void reportSceneStart() {
  const int scene = loop.show->current;
  if (scene == loop.sceneReported || scene >= loop.show->count) return;
  loop.sceneReported = scene;
  std::printf("AVI: scene %d from frame %lld\n", scene, aviFrameNumber());
  std::fflush(stdout);
}

bool loopPass() {
  // Ctrl-C or SIGTERM ends the show as Escape does: the recording is
  // finished and the devices closed before the process goes.
  if (const int caught = platform::interruptSignal()) {
    std::printf("Stopped by signal %d: the show ends\n", caught);
    std::fflush(stdout);
    loop.quitCode = 128 + caught;
    loop.quit = true;
    return false;
  }
  platform::Message message;
  if (platform::peekMessage(&message)) {
    if (message.kind == platform::MessageKind::Quit) {
      loop.quitCode = message.param;
      loop.quit = true;
      return false;
    }
    windowProcedure(message);
    return !loop.quit;
  }
  if (!loop.active) {
    platform::sleepMilliseconds(1);
    return true;
  }

  if (loop.capturing) {
    loop.clock = static_cast<double>(loop.frameIndex) / launchSettings.captureFps;
    loop.frameIndex += 1;
  } else {
    const uint64_t now = platform::performanceCounter();
    if (!loop.started) {
      loop.start = now;
      loop.started = true;
    }
    loop.clock = static_cast<double>(now - loop.start) / static_cast<double>(loop.counterFrequency);
  }

  if (loop.capturing && loop.aviOpen) reportSceneStart();
  const int result = loop.show->render(static_cast<float>(loop.clock));

  if (loop.capturing) {
    if (!loop.aviOpen) {
      openCapture();
    } else {
      captureAviFrame();
    }
  }
  glFlush();
  static int framesDrawn = 0;
  collectGlErrors(framesDrawn++);
  if (result == 1) loop.quit = true;
  platform::swapBuffers();
  runKeyHandler();
  return !loop.quit;
}

int runLoop() {
  clearKeyTable();
  loop.quitCode = 0;
  while (!loop.quit) loopPass();
  if (launchSettings.reportGlErrors) std::printf("GL errors: %d\n", loop.glErrors);
  shutdown();
  return loop.quitCode;
}

void shutdown() {
  if (loop.aviOpen) {
    closeAvi();
    loop.aviOpen = false;
  }
  delete loop.show;
  loop.show = nullptr;
  if (windowDesktopPicture) stopDesktopPicture();
  releaseWindow();
}

void windowProcedure(const platform::Message& message) {
  using platform::MessageKind;
  switch (message.kind) {
    case MessageKind::Activate:
      loop.active = !message.minimized;
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
      if (loop.show != nullptr) loop.show->key(message.param, 0, 0);
      typeCharacter(message.param);
      break;
    case MessageKind::Size:
      // A desktop window's picture keeps its size whatever the window does.
      if (windowDesktopPicture)
        setProjection(windowDesktopLayout.pictureWidth, windowDesktopLayout.pictureHeight);
      else
        setProjection(message.width, message.height);
      break;
    case MessageKind::Quit:
      break;
  }
}
