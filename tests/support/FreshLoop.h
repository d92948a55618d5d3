// FreshLoop: the main loop's globals as a fresh start leaves them, for tests
// that drive the loop one pass or one key at a time.
#pragma once

#include <gtest/gtest.h>

#include "app/LaunchSettings.h"
#include "app/MainLoop.h"
#include "platform/Window.h"
#include "show/Demo.h"
#include "show/ResourceRegistry.h"
#include "support/GlTestContext.h"
#include "support/StandInScenes.h"

namespace testsupport {

// Drops the window messages still queued and clears the settings, the loop's
// flags and the key table.
inline void resetLoop() {
  platform::Message drain;
  while (platform::peekMessage(&drain)) {
  }
  launchSettings = LaunchSettings();
  loop.quit = false;
  loop.active = true;
  loop.capturing = false;
  loop.aviOpen = false;
  loop.frameIndex = 0;
  clearKeyTable();
}

// The stand-in show, loaded to the end, as the loop's show.
inline void loadStandInShow() {
  loop.show = new Demo(new ResourceRegistry(), standInOrder());
  while (!loop.show->loadingDone()) loop.show->loadNext();
}

// Frees the show and clears what a test left in the loop's globals.
inline void releaseLoop() {
  delete loop.show;
  loop.show = nullptr;
  loop.capturing = false;
  loop.aviOpen = false;
  clearKeyTable();
  launchSettings = LaunchSettings();
}

// Each test starts from a fresh loop playing the stand-in show.
class StandInLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ensureGlContext());
    resetLoop();
    loadStandInShow();
  }
  void TearDown() override { releaseLoop(); }
};

}  // namespace testsupport
