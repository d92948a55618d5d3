// Entry: seeds the generator, reads the switches or runs the settings
// dialog, then opens the window, starts the show and runs the loop.
#include <cstdio>
#include <new>
#include <string>

#include "app/AviWriter.h"
#include "app/ExitStatus.h"
#include "app/GlWindow.h"
#include "app/HelpText.h"
#include "app/LaunchSettings.h"
#include "app/MainLoop.h"
#include "app/SettingsDialog.h"
#include "app/Switches.h"
#include "gfx/PixelBuffer.h"
#include "gfx/Random.h"
#include "platform/Audio.h"
#include "platform/Interrupt.h"
#include "platform/MessageBox.h"
#include "show/DataFolders.h"
#include "show/PackFile.h"

namespace {

int runShow(int argc, char** argv) {
  if (helpRequested(argc, argv)) {
    std::fputs(helpText().c_str(), stdout);
    return 0;
  }
  if (versionRequested(argc, argv)) {
    std::printf("zolt %s\n", kZoltVersion);
    return 0;
  }
  zolt::seedRandom(1);
  const std::string tail = commandTail(argc, argv);
  if (!tail.empty())
    parseSwitches(tail.c_str());
  else
    runSettingsDialog();
  platform::catchInterrupts();
  // A recording from launch is silent (the soundtrack goes into the file
  // as it stands), so it opens no sound device at all.
  if (launchSettings.captureAtStart) platform::setSoundOutputWanted(false);

  // Without its archive the show has nothing to show: one box, no window.
  const std::string archive = findDataFile(kShowPackFile);
  if (archive.empty()) {
    const std::string text = std::string(kShowPackFile) + " is in none of these folders: " + dataFoldersText();
    platform::messageBox(text.c_str(), kNoPackFileCaption, platform::MessageIcon::None);
    return kExitCannotStart;
  }
  if (!packFileReadable(archive.c_str())) return kExitCannotStart;
  launchSettings.archivePath = archive;
  if (launchSettings.fullScreen && launchSettings.desktopFullScreen) {
    // The picture is the largest 4:3 on the desktop: the show is drawn, read
    // and recorded at that size.
    DesktopLayout layout;
    if (!createDesktopWindow("z-olt!", &layout)) return kExitCannotStart;
    launchSettings.width = layout.pictureWidth;
    launchSettings.height = layout.pictureHeight;
  } else if (!createWindow("z-olt!", launchSettings.width, launchSettings.height, 32,
                           launchSettings.fullScreen)) {
    return kExitCannotStart;
  }
  if (!startUp()) {
    shutdown();
    platform::messageBox("Initialization Failed.", "ERROR", platform::MessageIcon::Warning);
    return kExitCannotStart;
  }
  const int quitCode = runLoop();
  if (launchSettings.captureAtStart && aviRecordingFailed()) return kExitRecordingIncomplete;
  return quitCode;
}

// The show cannot go on: what was recorded is finished as a file of its
// own, and the status says whether a recording was asked for.
int endShowOnFailure(const char* why) {
  const bool recording = loop.aviOpen || launchSettings.captureAtStart;
  if (loop.aviOpen) closeAvi();
  loop.aviOpen = false;
  platform::messageBox(why, "ERROR", platform::MessageIcon::Stop);
  return recording ? kExitRecordingIncomplete : kExitCannotStart;
}

}  // namespace

int zoltMain(int argc, char** argv) {
  // NOTE: memory that runs out while loading or playing (a small ulimit, a
  // huge file) is a message and an exit status, never an abort: what was
  // recorded so far is finished as a file of its own.
  try {
    return runShow(argc, argv);
  } catch (const std::bad_alloc&) {
    return endShowOnFailure("Not enough memory to go on.");
  } catch (const PixelBufferFailure& failure) {
    return endShowOnFailure(failure.what());
  }
}
