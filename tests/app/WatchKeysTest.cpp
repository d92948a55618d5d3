// The watch keys through the loop's key table: once per press, the arrows
// print where the show landed, typed characters that share their numbers do
// nothing, and a recording from the start ignores them all.
#include "app/WatchKeys.h"

#include <gtest/gtest.h>

#include <string>

#include "app/LaunchSettings.h"
#include "app/MainLoop.h"
#include "platform/Window.h"
#include "show/Demo.h"
#include "show/ResourceRegistry.h"
#include "support/FreshLoop.h"
#include "support/MessageLog.h"

namespace {

constexpr int kSpace = 32, kLeft = 37, kRight = 39;

int lines(const std::string& text, const std::string& word) {
  int n = 0;
  for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
  return n;
}

class WatchKeysTest : public testsupport::StandInLoopTest {
 protected:
  void SetUp() override {
    testsupport::MessageLog quiet;
    StandInLoopTest::SetUp();
    if (!HasFatalFailure()) loop.show->render(0.0f);
  }
  // One frame's key handling with `code` held, stdout returned.
  std::string frameWith(int code) {
    pressKey(code);
    testing::internal::CaptureStdout();
    runKeyHandler();
    return testing::internal::GetCapturedStdout();
  }
};

TEST_F(WatchKeysTest, ArrowsJumpOncePerPressAndPrintSceneAndBeat) {
  std::string said = frameWith(kRight);
  EXPECT_EQ(loop.show->current, 1);
  EXPECT_EQ(said.rfind("scene 1, beat ", 0), 0u) << said;
  said = frameWith(kRight);  // still held: nothing more
  EXPECT_EQ(said, "");
  releaseKey(kRight);
  runKeyHandler();
  said = frameWith(kRight);
  EXPECT_EQ(lines(said, "scene "), 1) << said;
  const double forward = loop.show->showTime();
  releaseKey(kRight);
  said = frameWith(kLeft);
  EXPECT_EQ(lines(said, "scene "), 1) << said;
  EXPECT_NEAR(loop.show->showTime(), forward - 4.0 * 60.0 / 130.0, 0.25);
}

TEST_F(WatchKeysTest, SpaceTogglesThePauseOncePerPress) {
  frameWith(kSpace);
  EXPECT_TRUE(loop.show->isPaused());
  frameWith(kSpace);
  EXPECT_TRUE(loop.show->isPaused());
  releaseKey(kSpace);
  runKeyHandler();
  frameWith(kSpace);
  EXPECT_FALSE(loop.show->isPaused());
}

// A tap shorter than a frame: down and up both arrive before the keys are
// looked at. Each press still acts once; held-key repeats do not.
TEST_F(WatchKeysTest, PressesReleasedBetweenTwoFramesStillCount) {
  pressKey(kSpace);
  releaseKey(kSpace);
  runKeyHandler();
  EXPECT_TRUE(loop.show->isPaused());
  const double before = loop.show->showTime();
  for (int tap = 0; tap < 2; ++tap) {
    pressKey(kRight);
    pressKey(kRight);  // a repeat while held
    releaseKey(kRight);
  }
  testing::internal::CaptureStdout();
  runKeyHandler();
  EXPECT_EQ(lines(testing::internal::GetCapturedStdout(), "scene "), 2);
  EXPECT_NEAR(loop.show->showTime(), before + 8.0 * 60.0 / 130.0, 0.25);
  pressKey(kSpace);
  releaseKey(kSpace);
  runKeyHandler();
  EXPECT_FALSE(loop.show->isPaused());
}

TEST_F(WatchKeysTest, CharactersSharingTheArrowNumbersDoNothing) {
  typeCharacter('%');   // 37, the left arrow's number
  typeCharacter('\'');  // 39, the right arrow's
  testing::internal::CaptureStdout();
  runKeyHandler();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(loop.show->current, 0);
}

TEST_F(WatchKeysTest, RecordingFromTheStartIgnoresThem) {
  launchSettings.captureAtStart = true;
  const std::string said = frameWith(kRight) + frameWith(kSpace);
  EXPECT_EQ(said, "");
  EXPECT_EQ(loop.show->current, 0);
  EXPECT_FALSE(loop.show->isPaused());
}

}  // namespace
