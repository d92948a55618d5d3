// Switches: strtok on "/", atoi/atof arguments, a table of letters.
#include "app/Switches.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/CaptureCodec.h"
#include "app/LaunchSettings.h"
#include "gfx/Random.h"
#include "platform/Clock.h"

void resolutionForCode(int code, int* width, int* height) {
  static const int sizes[4][2] = {{640, 480}, {800, 600}, {1024, 768}, {1280, 960}};
  if (code < 0 || code > 3) code = 0;
  *width = sizes[code][0];
  *height = sizes[code][1];
}

namespace {

using SwitchAction = void (*)(const char* argument);

struct SwitchRow {
  char letter;
  const char* argument;  // as the help text shows it
  const char* effect;
  SwitchAction action;
};

// The letter whose argument is a file name running to the next blank.
constexpr char kOutputSwitch = 'o';

void setCaptureFile(const char* name) {
  if (name[0] == '\0') {
    std::printf("/o names no file: recordings keep the name %s\n",
                launchSettings.captureFile.c_str());
    return;
  }
  launchSettings.captureFile = name;
}

const SwitchRow switchTable[] = {
    {'w', "", "windowed instead of full screen",
     [](const char*) { launchSettings.fullScreen = false; }},
    {'d', "",
     "full screen at the desktop's own size without a mode change: the picture is the largest 4:3 "
     "that fits, centred between black bars",
     [](const char*) {
       launchSettings.fullScreen = true;
       launchSettings.desktopFullScreen = true;
     }},
    {'m', "",
     "record from the first frame (frame-exact, with the soundtrack in the file; nothing plays)",
     [](const char*) { launchSettings.captureAtStart = true; }},
    {kOutputSwitch, "FILE",
     "name of the recording (default wirefall.avi); .avi, .mkv or .mp4 picks the container",
     setCaptureFile},
    {'s', "N", "after loading, jump to scene N (0-7)",
     [](const char* a) { launchSettings.startScene = std::atoi(a); }},
    {'g', "", "quality off", [](const char*) { launchSettings.quality = false; }},
    {'t', "X", "time offset of the picture in seconds (default -0.04)",
     [](const char* a) { launchSettings.timeOffset = static_cast<float>(std::atof(a)); }},
    {'r', "", "seed the random generator from the clock",
     [](const char*) { zolt::seedRandom(platform::secondsNow()); }},
    // NOTE: a rate below 1 frame per second would stop the capture clock
    // (and divide by zero); such a value keeps the rate in force.
    {'f', "N", "capture frame rate (default 30; values below 1 are ignored)",
     [](const char* a) {
       const int fps = std::atoi(a);
       if (fps > 0) launchSettings.captureFps = fps;
     }},
    {kCaptureCodecSwitch, "NAME",
     "capture codec: mpeg4 (default), h264, mjpeg, ffv1, huffyuv, raw",
     [](const char* a) { parseCaptureCodecSwitch(a); }},
    {'e', "", "print every GL error found after a frame, then the count",
     [](const char*) { launchSettings.reportGlErrors = true; }},
    {'z', "N", "resolution: 1 = 800x600, 2 = 1024x768, 3 = 1280x960, else 640x480",
     [](const char* a) {
       resolutionForCode(std::atoi(a), &launchSettings.width, &launchSettings.height);
     }},
};

}  // namespace

std::vector<SwitchHelp> knownSwitches() {
  std::vector<SwitchHelp> list;
  for (const SwitchRow& row : switchTable) list.push_back({row.letter, row.argument, row.effect});
  return list;
}

void parseSwitches(const char* tail) {
  // strtok writes into its input: work on a copy.
  std::vector<char> text(tail, tail + std::strlen(tail) + 1);
  char* token = std::strtok(text.data(), "/");
  while (token != nullptr) {
    if (token[0] == kOutputSwitch) {
      // NOTE: a file name may hold "/" (a folder); it ends at the first
      // blank of the untouched tail, and the switches after it go on.
      const size_t start = static_cast<size_t>(token + 1 - text.data());
      size_t end = start;
      while (tail[end] != '\0' && !std::isspace(static_cast<unsigned char>(tail[end]))) ++end;
      setCaptureFile(std::string(tail + start, end - start).c_str());
      if (tail[end] == '\0') break;
      // strtok may have cut the copy past the blank: tokenise afresh from it.
      std::memcpy(text.data(), tail, text.size());
      token = std::strtok(text.data() + end, "/");
      continue;
    }
    for (const SwitchRow& row : switchTable) {
      if (row.letter == token[0]) {
        row.action(token + 1);
        break;
      }
    }
    token = std::strtok(nullptr, "/");
  }
}

std::string commandTail(int argc, char** argv) {
  std::string tail;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) tail += ' ';
    tail += argv[i];
  }
  return tail;
}
