// LaunchSettings: the process-wide settings the entry fills from the
// switches or the settings dialog, read by everything that follows.
#pragma once

struct LaunchSettings {
  bool fullScreen = true;
  bool quality = true;
  int width = 640;
  int height = 480;
  int startScene = -1;
  float timeOffset = -0.04f;
  int captureFps = 30;
  bool captureAtStart = false;
};

extern LaunchSettings launchSettings;
