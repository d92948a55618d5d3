// MainLoop: the one-time start-up of the show and the frame loop with its
// two clocks (wall clock live, frame counter while capturing) and keys.
#pragma once

#include <cstdint>
#include <vector>

class Demo;

// Loop state shared with the window procedure and the shutdown.
extern bool quit;
extern bool active;
extern bool capturing;
extern bool aviOpen;
extern int frameIndex;
extern double loopClock;
extern Demo* show;
extern unsigned char keyTable[256];
extern std::vector<unsigned char> captureBuffer;

// Start-up once the context is current: capture file, extensions, registry,
// the show and its loading sequence. False when the show cannot start.
bool startUp();

// Start-up's first step with captureAtStart: the capture file exists before
// loading begins and capture is on, so the first frame (clock 0) is written.
// When the file cannot be made, capture stays off and the show goes on.
void startCaptureAtLaunch();

// Runs frames until the quit message, a quit key or the end of the show;
// returns the quit message's code (0 otherwise).
int runLoop();

// One pass of the loop: a waiting message, or a frame. Returns false once
// the loop should end.
bool loopPass();

// Acts on the key table once per frame: Escape or F2 ("q") quit; numeric
// minus ("m") toggles capture, once per press.
void runKeyHandler();

// Key-table writes of the window procedure.
void pressKey(int code);
void releaseKey(int code);
void typeCharacter(int code);
void clearKeyTable();

// The file a capture switched on for the n-th time writes (0 = the first):
// "wirefall.avi", then "wirefall-2.avi", ... so no capture overwrites an
// earlier one of the same run.
const char* captureFileName(int n);
