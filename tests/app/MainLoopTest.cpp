#include <gtest/gtest.h>

#include "app/LaunchSettings.h"
#include "app/MainLoop.h"
#include "platform/Window.h"
#include "show/Demo.h"
#include "show/ResourceRegistry.h"
#include "support/FreshLoop.h"

namespace {

using platform::Message;
using platform::MessageKind;
using testsupport::StandInScene;

Message messageOf(MessageKind kind, int param = 0) {
  Message m{};
  m.kind = kind;
  m.param = param;
  return m;
}

class MainLoopTest : public testsupport::StandInLoopTest {
 protected:
  StandInScene* scene(int i) { return static_cast<StandInScene*>(loop.show->scenes[i]); }
};

TEST_F(MainLoopTest, CaptureClockSpacesFramesByTheFrameRate) {
  launchSettings.captureFps = 25;
  loop.capturing = true;
  loop.show->useCaptureClock();
  loop.show->timeOffset = 0.0f;
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(loopPass());
  EXPECT_EQ(loop.frameIndex, 4);
  EXPECT_DOUBLE_EQ(loop.clock, 3.0 / 25.0);
  const std::vector<float>& t = scene(0)->times;
  ASSERT_EQ(t.size(), 4u);
  for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(t[i], i / 25.0f);
  // The first pass with capture on only opens the file.
  EXPECT_TRUE(loop.aviOpen);
}

TEST_F(MainLoopTest, OneMessagePerPassAndQuitEndsBeforeTheNextFrame) {
  platform::postMessage(messageOf(MessageKind::KeyDown, 'X'));
  platform::postQuit(7);
  EXPECT_TRUE(loopPass());  // the key message, no frame
  EXPECT_TRUE(scene(0)->times.empty());
  EXPECT_EQ(loop.keyTable['X'], 1);
  EXPECT_FALSE(loopPass());  // the quit message
  EXPECT_TRUE(loop.quit);
  EXPECT_TRUE(scene(0)->times.empty());
}

TEST_F(MainLoopTest, CharacterReachesTheShowBeforeTheKeyTable) {
  platform::postMessage(messageOf(MessageKind::Char, 'a'));
  loopPass();
  EXPECT_TRUE(loop.show->skipRequested);
  EXPECT_EQ(loop.keyTable['a'], 1);
}

TEST_F(MainLoopTest, MinimisedWindowRendersNothing) {
  Message minimise = messageOf(MessageKind::Activate);
  minimise.minimized = true;
  platform::postMessage(minimise);
  loopPass();
  EXPECT_FALSE(loop.active);
  loopPass();
  loopPass();
  EXPECT_TRUE(scene(0)->times.empty());
  platform::postMessage(messageOf(MessageKind::Activate));
  loopPass();
  loopPass();
  EXPECT_EQ(scene(0)->times.size(), 1u);
}

TEST_F(MainLoopTest, QuitKeysEndTheLoop) {
  for (int code : {27, 113}) {
    loop.quit = false;
    clearKeyTable();
    pressKey(code);
    runKeyHandler();
    EXPECT_TRUE(loop.quit) << code;
  }
  loop.quit = false;
  clearKeyTable();
  typeCharacter('q');
  runKeyHandler();
  EXPECT_TRUE(loop.quit);
}

TEST_F(MainLoopTest, CaptureToggleFiresOncePerPress) {
  // Numeric minus held over several frames: one toggle.
  pressKey(109);
  runKeyHandler();
  runKeyHandler();
  runKeyHandler();
  EXPECT_TRUE(loop.capturing);
  releaseKey(109);
  runKeyHandler();
  EXPECT_TRUE(loop.capturing);
  // "m" typed twice: two toggles, though no key-up ever clears entry 109.
  typeCharacter('m');
  runKeyHandler();
  EXPECT_FALSE(loop.capturing);
  runKeyHandler();
  EXPECT_FALSE(loop.capturing);
  typeCharacter('m');
  runKeyHandler();
  EXPECT_TRUE(loop.capturing);
}

TEST_F(MainLoopTest, SwitchingCaptureOffClosesTheFileAndStopsWriting) {
  loop.capturing = true;
  loopPass();  // opens
  EXPECT_TRUE(loop.aviOpen);
  testing::internal::CaptureStdout();
  typeCharacter('m');
  runKeyHandler();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "\n\nAVI ended\n");
  EXPECT_FALSE(loop.capturing);
  EXPECT_FALSE(loop.aviOpen);
}

TEST(CaptureFileName, LaterCapturesNeverOverwriteTheFirst) {
  EXPECT_STREQ(captureFileName(0), "wirefall.avi");
  EXPECT_STREQ(captureFileName(1), "wirefall-2.avi");
  EXPECT_STREQ(captureFileName(2), "wirefall-3.avi");
}

}  // namespace
