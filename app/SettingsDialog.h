// SettingsDialog: the dialog that picks resolution, full screen, quality
// and a random seed before the show, when the command line is empty.
#pragma once

#include "platform/SettingsDialog.h"

// Control ids of the dialog.
enum SettingsControlId {
  idOk = 1,
  idCancel = 2,
  idFullScreen = 1000,
  idRes640 = 1001,
  idRes1024 = 1002,
  idRes800 = 1003,
  idRes1280 = 1004,
  idQuality = 1005,
  idRandomize = 1006,
};

extern const platform::DialogTemplate settingsDialogTemplate;

// Reads the controls into the launch settings (resolution, full screen,
// quality) and reseeds the random generator when "Randomize" is checked.
void readSettingsControls(const platform::DialogWindow& dialog);

// The dialog procedure: Ok reads the controls and ends the dialog; Cancel
// and closing end the process with status 0.
bool settingsDialogProcedure(platform::DialogWindow& dialog, platform::DialogEvent event, int id);

// The process exit the procedure uses; replaceable so the procedure can be
// run without ending the process.
extern void (*settingsDialogExit)(int status);

// Runs the dialog; false (defaults kept, said on standard error) when no
// dialog can be shown.
bool runSettingsDialog();
