// LaunchSettings: the process-wide settings the entry fills from the
// switches or the settings dialog, read by everything that follows.
#pragma once

#include <string>

struct LaunchSettings {
  bool fullScreen = true;
  bool quality = true;
  int width = 640;
  int height = 480;
  int startScene = -1;
  float timeOffset = -0.04f;
  int captureFps = 30;
  bool captureAtStart = false;
  // Hidden switch /e: every GL error the frame loop finds is printed (the
  // loop checks after every frame either way).
  bool reportGlErrors = false;
  // /d: full screen at the desktop's own size, the picture the largest 4:3
  // that fits, drawn off screen and shown between black bars.
  bool desktopFullScreen = false;
  // /oFILE: the first recording's name; its extension picks the container.
  std::string captureFile = "wirefall.avi";
  // The archive the entry found (current folder first, then beside the
  // program); the show reads every asset from it.
  std::string archivePath = "trov.qz5";
};

extern LaunchSettings launchSettings;
