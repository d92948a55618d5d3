// WatchKeys: pause and beat jumps on the show, from the loop's key table.
#include "app/WatchKeys.h"

#include <cstdio>

#include "app/LaunchSettings.h"
#include "app/MainLoop.h"
#include "show/Demo.h"

namespace {

// Virtual-key numbers. NOTE: only keys held down count, not typed
// characters: "%" and "'" share the arrows' numbers in the key table.
constexpr int kSpaceKey = 32;
constexpr int kLeftKey = 37;
constexpr int kRightKey = 39;

// Presses of the key since the last frame, taken.
int takePresses(int code) {
  const int presses = loop.keyPresses[code];
  loop.keyPresses[code] = 0;
  return presses;
}

void printPosition(Demo& show) {
  std::printf("scene %d, beat %.1f\n", show.current, show.currentBeat());
  std::fflush(stdout);
}

}  // namespace

void runWatchKeys() {
  // NOTE: presses are counted as they arrive, not read from what is down
  // after the frame: the loop drains every queued key-down and key-up
  // before it draws, so a tap shorter than a frame is down for no frame.
  const int pauses = takePresses(kSpaceKey);
  const int backs = takePresses(kLeftKey);
  const int forwards = takePresses(kRightKey);
  Demo* show = loop.show;
  if (show == nullptr || show->count == 0 || launchSettings.captureAtStart || show->captureClock)
    return;
  if (pauses % 2 == 1) show->setPaused(!show->isPaused());
  // Each press is a jump of its own and says where it landed.
  for (int i = 0; i < backs + forwards; ++i) {
    show->jumpBeats(i < backs ? -kWatchJumpBeats : kWatchJumpBeats);
    printPosition(*show);
  }
}

void clearWatchKeys() {
  for (int code : {kSpaceKey, kLeftKey, kRightKey}) loop.keyPresses[code] = 0;
}
