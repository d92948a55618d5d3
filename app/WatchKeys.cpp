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

struct WatchKey {
  int code;
  bool wasDown;
};

WatchKey watchKeys[] = {{kSpaceKey, false}, {kLeftKey, false}, {kRightKey, false}};

// True on the first frame the key is down.
bool pressed(WatchKey& key) {
  const bool down = loop.keysDown[key.code] != 0;
  const bool fresh = down && !key.wasDown;
  key.wasDown = down;
  return fresh;
}

void printPosition(Demo& show) {
  std::printf("scene %d, beat %.1f\n", show.current, show.currentBeat());
  std::fflush(stdout);
}

}  // namespace

void runWatchKeys() {
  const bool pause = pressed(watchKeys[0]);
  const bool back = pressed(watchKeys[1]);
  const bool forward = pressed(watchKeys[2]);
  Demo* show = loop.show;
  if (show == nullptr || show->count == 0 || launchSettings.captureAtStart || show->captureClock)
    return;
  if (pause) show->setPaused(!show->isPaused());
  if (back || forward) {
    show->jumpBeats(back ? -kWatchJumpBeats : kWatchJumpBeats);
    printPosition(*show);
  }
}

void clearWatchKeys() {
  for (WatchKey& key : watchKeys) key.wasDown = false;
}
