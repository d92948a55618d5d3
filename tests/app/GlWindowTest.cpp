// Full screen that cannot be had: whether the mode is not listed or the
// display refuses a listed one after the window exists, the viewer is asked
// the same question, and the answer decides between windowed and closing.
#include <gtest/gtest.h>

#include <string>

#include "app/GlWindow.h"
#include "platform/MessageBox.h"
#include "platform/Window.h"

namespace {

const char* const kQuestionCaption = "Kiva GL";

class FullScreenRefused : public ::testing::Test {
 protected:
  void SetUp() override { saved = displayModeCalls; }
  void TearDown() override {
    releaseWindow();
    displayModeCalls = saved;
    platform::setMessageObserver(nullptr);
  }

  // Answers the Yes/No question with `answer` and logs every box.
  void answer(platform::MessageAnswer answer) {
    platform::setMessageObserver([this, answer](const platform::MessageRecord& record) {
      captions.push_back(record.caption);
      texts.push_back(record.text);
      return record.buttons == platform::MessageButtons::YesNo ? answer : platform::MessageAnswer::Ok;
    });
  }

  DisplayModeCalls saved{};
  std::vector<std::string> captions;
  std::vector<std::string> texts;
};

TEST_F(FullScreenRefused, ListedModeRefusedAfterTheWindowExistsAsksAndPlaysWindowed) {
  displayModeCalls = {[](int, int) { return true; }, [](int, int) { return false; }};
  answer(platform::MessageAnswer::Yes);
  ASSERT_TRUE(createWindow("z-olt! tests", 640, 480, 32, true));
  EXPECT_FALSE(windowFullScreen);
  ASSERT_EQ(captions.size(), 1u);
  EXPECT_EQ(captions[0], kQuestionCaption);
  EXPECT_TRUE(platform::contextExists()) << "the show goes on in a window";
}

TEST_F(FullScreenRefused, AnsweringNoClosesWhicheverWayTheModeFailed) {
  const DisplayModeCalls failures[] = {
      {[](int, int) { return false; }, [](int, int) { return true; }},  // not listed
      {[](int, int) { return true; }, [](int, int) { return false; }},  // refused later
  };
  for (const DisplayModeCalls& calls : failures) {
    displayModeCalls = calls;
    captions.clear();
    texts.clear();
    answer(platform::MessageAnswer::No);
    EXPECT_FALSE(createWindow("z-olt! tests", 640, 480, 32, true));
    ASSERT_EQ(captions.size(), 2u);
    EXPECT_EQ(captions[0], kQuestionCaption);
    EXPECT_EQ(texts[1], "Program Will Now Close.");
    EXPECT_FALSE(platform::windowExists()) << "nothing is left open";
  }
}

}  // namespace
