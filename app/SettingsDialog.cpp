// SettingsDialog: the template, the procedure and the control reading.
#include "app/SettingsDialog.h"

#include <cstdio>
#include <cstdlib>

#include "app/LaunchSettings.h"
#include "app/Switches.h"
#include "gfx/Random.h"
#include "platform/Clock.h"

using platform::DialogControl;
using platform::DialogControlKind;
using platform::DialogEvent;
using platform::DialogWindow;

static const DialogControl settingsControls[] = {
    {idRes640, DialogControlKind::RadioButton, "640x480 (BEST)", 86, 52, 68, 10},
    {idRes800, DialogControlKind::RadioButton, "800x600 !", 86, 66, 45, 10},
    {idRes1024, DialogControlKind::RadioButton, "1024x768 !!", 86, 80, 63, 10},
    {idRes1280, DialogControlKind::RadioButton, "1280x960 !!$#?", 86, 94, 65, 10},
    {idFullScreen, DialogControlKind::CheckBox, "Full Screen", 7, 43, 64, 9},
    {idQuality, DialogControlKind::CheckBox, "Quality", 7, 55, 52, 13},
    {idRandomize, DialogControlKind::CheckBox, "Randomize", 7, 71, 61, 9},
    {idOk, DialogControlKind::DefaultButton, "Ok", 7, 83, 50, 14},
    {idCancel, DialogControlKind::Button, "Cancel", 7, 100, 50, 14},
    {-1, DialogControlKind::GroupBox, "Resolution", 78, 37, 82, 78},
    {-1, DialogControlKind::Icon, nullptr, 73, 7, 20, 20},
};

const platform::DialogTemplate settingsDialogTemplate = {
    "z-olt!", 167, 122, settingsControls,
    static_cast<int>(sizeof(settingsControls) / sizeof(settingsControls[0]))};

static void exitProcess(int status) { std::exit(status); }
void (*settingsDialogExit)(int status) = exitProcess;

void readSettingsControls(const DialogWindow& dialog) {
  // Each checked radio raises the code in this order, so the highest wins.
  static const struct {
    int id;
    int code;
  } resolutionRadios[] = {{idRes800, 1}, {idRes1024, 2}, {idRes1280, 3}};
  int code = 0;
  for (const auto& radio : resolutionRadios)
    if (dialog.isChecked(radio.id)) code = radio.code;
  resolutionForCode(code, &launchSettings.width, &launchSettings.height);
  launchSettings.fullScreen = dialog.isChecked(idFullScreen);
  launchSettings.quality = dialog.isChecked(idQuality);
  if (dialog.isChecked(idRandomize)) zolt::seedRandom(platform::secondsNow());
}

bool settingsDialogProcedure(DialogWindow& dialog, DialogEvent event, int id) {
  switch (event) {
    case DialogEvent::Destroy:
      readSettingsControls(dialog);
      dialog.postQuit(0);
      return true;
    case DialogEvent::Move:
      return true;
    case DialogEvent::Command:
      if (id == idOk) {
        dialog.destroy();
      } else if (id == idCancel) {
        dialog.destroy();
        settingsDialogExit(0);
      }
      return true;
    case DialogEvent::Close:
      dialog.destroy();
      settingsDialogExit(0);
      return true;
  }
  return false;
}

bool runSettingsDialog() {
  const bool shown = platform::runDialog(settingsDialogTemplate, settingsDialogProcedure,
                                         [](DialogWindow& dialog) {
                                           dialog.setChecked(idFullScreen, true);
                                           dialog.setChecked(idQuality, true);
                                           dialog.setChecked(idRes640, true);
                                         });
  if (!shown)
    std::fprintf(stderr,
                 "No display for the settings dialog: playing with the defaults "
                 "(%dx%d, %s, quality %s).\n",
                 launchSettings.width, launchSettings.height,
                 launchSettings.fullScreen ? "full screen" : "windowed",
                 launchSettings.quality ? "on" : "off");
  return shown;
}
