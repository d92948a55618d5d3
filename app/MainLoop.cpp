// MainLoop: start-up, frame loop, capture and keys.
#include "app/MainLoop.h"

#include <cstdio>
#include <string>

#include "app/AviWriter.h"
#include "gfx/GlExtensions.h"
#include "app/GlWindow.h"
#include "app/LaunchSettings.h"
#include "platform/Clock.h"
#include "platform/Window.h"
#include "show/Demo.h"
#include "show/LoadingScreen.h"
#include "show/ResourceRegistry.h"

bool quit = false;
bool active = true;
bool capturing = false;
bool aviOpen = false;
int frameIndex = 0;
double loopClock = 0.0;
Demo* show = nullptr;
unsigned char keyTable[256];
std::vector<unsigned char> captureBuffer;

static uint64_t loopStart = 0;
static bool loopStarted = false;
static uint64_t counterFrequency = 1;
static int quitCode = 0;

// Keys held down (by virtual-key number) and characters typed since the last
// frame. A character never gets a key-up of its own number, so it counts as
// pressed for one frame only.
static unsigned char keysDown[256];
static unsigned char charactersTyped[256];
static bool captureKeyWasDown = false;
static int capturesOpened = 0;

static void syncEntry(int code) { keyTable[code] = keysDown[code] | charactersTyped[code]; }

void pressKey(int code) {
  code &= 0xff;
  keysDown[code] = 1;
  syncEntry(code);
}

void releaseKey(int code) {
  code &= 0xff;
  keysDown[code] = 0;
  syncEntry(code);
}

void typeCharacter(int code) {
  code &= 0xff;
  charactersTyped[code] = 1;
  syncEntry(code);
}

void clearKeyTable() {
  for (int i = 0; i < 256; ++i) keyTable[i] = keysDown[i] = charactersTyped[i] = 0;
  captureKeyWasDown = false;
}

const char* captureFileName(int n) {
  static std::string name;
  name = n == 0 ? "wirefall.avi" : "wirefall-" + std::to_string(n + 1) + ".avi";
  return name.c_str();
}

// Opens the next capture file; capture goes off when it cannot be made.
static void openCapture() {
  const char* name = captureFileName(capturesOpened++);
  if (!openAvi(name, launchSettings.captureFps, launchSettings.width, launchSettings.height)) {
    capturing = false;
    return;
  }
  captureBuffer.assign(static_cast<size_t>(launchSettings.width) * launchSettings.height * 4, 0);
  aviOpen = true;
}

static void closeCapture() {
  if (aviOpen) closeAvi();
  aviOpen = false;
  std::printf("\n\nAVI ended\n");
  std::fflush(stdout);
}

void runKeyHandler() {
  if (keyTable[27] || keyTable[113]) quit = true;

  const bool captureKeyDown = keyTable[109] != 0;
  if (captureKeyDown && !captureKeyWasDown) {
    capturing = !capturing;
    if (!capturing) closeCapture();
  }

  // Typed characters have been seen; what stays is what is held.
  for (int i = 0; i < 256; ++i) {
    if (charactersTyped[i]) {
      charactersTyped[i] = 0;
      syncEntry(i);
    }
  }
  captureKeyWasDown = keyTable[109] != 0;
}

void startCaptureAtLaunch() {
  openCapture();
  if (aviOpen) {
    typeCharacter(109);
    runKeyHandler();
  }
}

bool startUp() {
  if (launchSettings.captureAtStart) startCaptureAtLaunch();

  loadGlEntryPoints();
  platform::setSwapInterval(1);

  auto* registry = new ResourceRegistry();
  registry->usePack = true;
  registry->good = launchSettings.quality ? 1 : 0;
  registry->width = launchSettings.width;
  registry->height = launchSettings.height;

  show = new Demo(registry);
  show->timeOffset = launchSettings.timeOffset;
  if (capturing) {
    show->useCaptureClock();
    // A capture from launch runs on the show's own timeline, so the
    // soundtrack can go into the file beside the frames, exactly in step.
    if (launchSettings.captureAtStart && !show->musicFile.empty())
      attachAviSoundtrack(show->musicFile.c_str());
  }

  runLoadingSequence(*show, launchSettings.startScene);

  counterFrequency = platform::performanceFrequency();
  return true;
}

bool loopPass() {
  platform::Message message;
  if (platform::peekMessage(&message)) {
    if (message.kind == platform::MessageKind::Quit) {
      quitCode = message.param;
      quit = true;
      return false;
    }
    windowProcedure(message);
    return !quit;
  }
  if (!active) {
    platform::sleepMilliseconds(1);
    return true;
  }

  if (capturing) {
    loopClock = static_cast<double>(frameIndex) / launchSettings.captureFps;
    frameIndex += 1;
  } else {
    const uint64_t now = platform::performanceCounter();
    if (!loopStarted) {
      loopStart = now;
      loopStarted = true;
    }
    loopClock = static_cast<double>(now - loopStart) / static_cast<double>(counterFrequency);
  }

  const int result = show->render(static_cast<float>(loopClock));

  if (capturing) {
    if (!aviOpen) {
      openCapture();
    } else {
      glReadPixels(0, 0, launchSettings.width, launchSettings.height, GL_BGRA, GL_UNSIGNED_BYTE,
                   captureBuffer.data());
      addAviFrame(captureBuffer.data());
    }
  }
  glFlush();
  if (result == 1) quit = true;
  platform::swapBuffers();
  runKeyHandler();
  return !quit;
}

int runLoop() {
  clearKeyTable();
  quitCode = 0;
  while (!quit) loopPass();
  shutdown();
  return quitCode;
}
