#include <gtest/gtest.h>

#include <set>

#include "app/LaunchSettings.h"
#include "app/SettingsDialog.h"

namespace {

using platform::DialogEvent;

// The controls of a dialog without a display: check states and what the
// procedure asked for.
class ControlState : public platform::DialogWindow {
 public:
  bool isChecked(int id) const override { return checked.count(id) != 0; }
  void setChecked(int id, bool on) override {
    if (on)
      checked.insert(id);
    else
      checked.erase(id);
  }
  void destroy() override {
    ++destroyCalls;
    settingsDialogProcedure(*this, DialogEvent::Destroy, 0);
  }
  void postQuit(int code) override { quitCode = code; }

  std::set<int> checked;
  int destroyCalls = 0;
  int quitCode = -1;
};

int exitStatus = -1;
void recordExit(int status) { exitStatus = status; }

class SettingsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    launchSettings = LaunchSettings();
    exitStatus = -1;
    settingsDialogExit = recordExit;
  }
  void TearDown() override { launchSettings = LaunchSettings(); }
};

TEST_F(SettingsDialogTest, OkReadsTheControlsAndEndsTheDialog) {
  ControlState dialog;
  dialog.checked = {idRes1024, idQuality};
  EXPECT_TRUE(settingsDialogProcedure(dialog, DialogEvent::Command, idOk));
  EXPECT_EQ(dialog.destroyCalls, 1);
  EXPECT_EQ(dialog.quitCode, 0);
  EXPECT_EQ(exitStatus, -1);
  EXPECT_EQ(launchSettings.width, 1024);
  EXPECT_EQ(launchSettings.height, 768);
  EXPECT_FALSE(launchSettings.fullScreen);
  EXPECT_TRUE(launchSettings.quality);
}

TEST_F(SettingsDialogTest, HighestCheckedResolutionCodeWins) {
  // Ids are not in screen order: 1003 is 800x600, 1002 is 1024x768.
  struct Case {
    std::set<int> radios;
    int width;
  } cases[] = {
      {{idRes640}, 640},
      {{idRes800}, 800},
      {{idRes800, idRes1024}, 1024},
      {{idRes1280, idRes800}, 1280},
      {{idRes640, idRes1024, idRes800}, 1024},
      {{}, 640},
  };
  for (const Case& c : cases) {
    ControlState dialog;
    dialog.checked = c.radios;
    readSettingsControls(dialog);
    EXPECT_EQ(launchSettings.width, c.width);
  }
}

TEST_F(SettingsDialogTest, CancelAndCloseEndTheProcessWithStatusZero) {
  for (DialogEvent event : {DialogEvent::Command, DialogEvent::Close}) {
    ControlState dialog;
    exitStatus = -1;
    settingsDialogProcedure(dialog, event, idCancel);
    EXPECT_EQ(dialog.destroyCalls, 1);
    EXPECT_EQ(exitStatus, 0);
  }
}

TEST_F(SettingsDialogTest, EscapeIsCancelAndOtherKeysGoToTheControls) {
  EXPECT_EQ(platform::dialogCancelId, int(idCancel));
  ControlState dialog;
  dialog.checked = {idRes1024};
  EXPECT_FALSE(platform::dialogKey(dialog, settingsDialogProcedure, 13));
  EXPECT_FALSE(platform::dialogKey(dialog, settingsDialogProcedure, 'A'));
  EXPECT_EQ(dialog.destroyCalls, 0);
  EXPECT_EQ(exitStatus, -1);

  EXPECT_TRUE(platform::dialogKey(dialog, settingsDialogProcedure, platform::virtualKeyEscape));
  EXPECT_EQ(dialog.destroyCalls, 1);
  EXPECT_EQ(exitStatus, 0);
}

TEST_F(SettingsDialogTest, OtherMessagesAreHandledWithoutEffect) {
  ControlState dialog;
  dialog.checked = {idRes1280};
  EXPECT_TRUE(settingsDialogProcedure(dialog, DialogEvent::Move, 0));
  EXPECT_TRUE(settingsDialogProcedure(dialog, DialogEvent::Command, idRandomize));
  EXPECT_TRUE(settingsDialogProcedure(dialog, DialogEvent::Command, idFullScreen));
  EXPECT_EQ(dialog.destroyCalls, 0);
  EXPECT_EQ(launchSettings.width, 640);
}

TEST_F(SettingsDialogTest, TemplateHoldsTheControlsWithTheirIdsAndCaptions) {
  const platform::DialogTemplate& t = settingsDialogTemplate;
  EXPECT_STREQ(t.caption, "z-olt!");
  EXPECT_EQ(t.width, 167);
  EXPECT_EQ(t.height, 122);
  ASSERT_EQ(t.controlCount, 11);
  EXPECT_EQ(t.controls[1].id, 1003);
  EXPECT_STREQ(t.controls[1].caption, "800x600 !");
  EXPECT_EQ(t.controls[2].id, 1002);
  EXPECT_STREQ(t.controls[3].caption, "1280x960 !!$#?");
  EXPECT_EQ(t.controls[7].kind, platform::DialogControlKind::DefaultButton);
}

}  // namespace
