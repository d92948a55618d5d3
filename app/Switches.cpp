// Switches: strtok on "/", atoi/atof arguments, a table of letters.
#include "app/Switches.h"

#include <cstdlib>
#include <cstring>
#include <vector>

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
  SwitchAction action;
};

const SwitchRow switchTable[] = {
    {'w', [](const char*) { launchSettings.fullScreen = false; }},
    {'m', [](const char*) { launchSettings.captureAtStart = true; }},
    {'s', [](const char* a) { launchSettings.startScene = std::atoi(a); }},
    {'g', [](const char*) { launchSettings.quality = false; }},
    {'t', [](const char* a) { launchSettings.timeOffset = static_cast<float>(std::atof(a)); }},
    {'r', [](const char*) { zolt::seedRandom(platform::secondsNow()); }},
    // NOTE: a rate below 1 frame per second would stop the capture clock
    // (and divide by zero); such a value keeps the rate in force.
    {'f',
     [](const char* a) {
       const int fps = std::atoi(a);
       if (fps > 0) launchSettings.captureFps = fps;
     }},
    {'c', [](const char* a) { parseCaptureCodecSwitch(a); }},
    {'e', [](const char*) { launchSettings.reportGlErrors = true; }},
    {'z',
     [](const char* a) {
       resolutionForCode(std::atoi(a), &launchSettings.width, &launchSettings.height);
     }},
};

}  // namespace

void parseSwitches(const char* tail) {
  // strtok writes into its input: work on a copy.
  std::vector<char> text(tail, tail + std::strlen(tail) + 1);
  for (char* token = std::strtok(text.data(), "/"); token != nullptr;
       token = std::strtok(nullptr, "/")) {
    for (const SwitchRow& row : switchTable) {
      if (row.letter == token[0]) {
        row.action(token + 1);
        break;
      }
    }
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
