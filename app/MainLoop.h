// MainLoop: the one-time start-up of the show, the window procedure that
// feeds it, and the frame loop with its two clocks (wall clock live, frame
// counter while capturing) and keys.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Window.h"

class Demo;

// Everything the loop keeps between passes.
struct LoopState {
  bool quit = false;
  bool active = true;
  bool capturing = false;
  bool aviOpen = false;
  int frameIndex = 0;
  double clock = 0.0;  // seconds handed to the show this frame
  int quitCode = 0;
  Demo* show = nullptr;

  // Live clock: counter value of the first frame.
  uint64_t start = 0;
  bool started = false;
  uint64_t counterFrequency = 1;

  // The key table the show reads: keys held down (by virtual-key number)
  // or characters typed since the last frame. A character never gets a
  // key-up of its own number, so it counts as pressed for one frame only.
  unsigned char keyTable[256] = {};
  unsigned char keysDown[256] = {};
  unsigned char charactersTyped[256] = {};
  // Key-down events of keys that were up, since the keys were last acted
  // on: a press and release between two frames still counts once.
  unsigned char keyPresses[256] = {};
  bool captureKeyWasDown = false;

  int glErrors = 0;  // GL errors found after frames so far
  int sceneReported = -1;  // scene whose first recorded frame was announced
  int capturesOpened = 0;
};

extern LoopState loop;

// Start-up once the context is current: capture file, extensions, registry,
// the show and its loading sequence. False when the show cannot start.
bool startUp();

// Start-up's first step with captureAtStart: the capture file exists before
// loading begins and capture is on, so the first frame (clock 0) is written.
// When the file cannot be made, capture stays off and the show goes on.
void startCaptureAtLaunch();

// Runs frames until the quit message, a quit key or the end of the show,
// then shuts down; returns the quit message's code (0 otherwise).
int runLoop();

// One pass of the loop: a waiting message, or a frame. Returns false once
// the loop should end.
bool loopPass();

// Handles one window message as the window procedure does.
void windowProcedure(const platform::Message& message);

// Acts on the key table once per frame: Escape or F2 ("q") quit; numeric
// minus ("m") toggles capture, once per press; then the watch keys.
void runKeyHandler();

// Key-table writes of the window procedure.
void pressKey(int code);
void releaseKey(int code);
void typeCharacter(int code);
void clearKeyTable();

// Releases the capture file and the show, then the window and context.
void shutdown();

// The file a capture switched on for the n-th time writes (0 = the first):
// the /o name (default "wirefall.avi"), then "wirefall-2.avi", ... with the
// number before the extension, so no capture overwrites an earlier one of
// the same run.
const char* captureFileName(int n);
