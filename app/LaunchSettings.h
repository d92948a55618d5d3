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
  // Hidden switch /e: every GL error the frame loop finds is printed (the
  // loop checks after every frame either way).
  bool reportGlErrors = false;
};

extern LaunchSettings launchSettings;
