// HelpText: the switch table and the key table laid out for a terminal.
#include "app/HelpText.h"

#include <cstring>
#include <iterator>

#include "app/Switches.h"

namespace {

const KeyHelp keyTable[] = {
    {"a", "skip to the next scene"},
    {"Escape, F2, q", "quit"},
    {"numeric-pad minus, m",
     "start or stop recording (once per press); later recordings of a run get -2, -3, ... "
     "before the extension"},
    {"space", "pause or resume picture and music (not in a recording from the start)"},
    {"left, right arrow",
     "jump back or forward 4 beats, across scenes, the music with it (not in a recording from "
     "the start)"},
};

// One row: the first column padded to `width`, the text after it.
void addRow(std::string& text, const std::string& first, const char* effect, size_t width) {
  text += "  " + first;
  text += std::string(first.size() < width ? width - first.size() : 1, ' ');
  text += effect;
  text += '\n';
}

}  // namespace

const char* const kZoltVersion = ZOLT_VERSION;

std::vector<KeyHelp> knownKeys() { return std::vector<KeyHelp>(std::begin(keyTable), std::end(keyTable)); }

bool versionRequested(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--version") == 0) return true;
  return false;
}

bool helpRequested(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const char* word = argv[i];
    if (std::strcmp(word, "--help") == 0 || std::strcmp(word, "-h") == 0) return true;
    // "/?" also counts inside a packed tail such as "/w/?".
    for (const char* slash = std::strchr(word, '/'); slash != nullptr;
         slash = std::strchr(slash + 1, '/'))
      if (slash[1] == '?') return true;
  }
  return false;
}

std::string helpText() {
  std::string text =
      "z-olt! - a real-time audiovisual show\n"
      "\n"
      "usage: zolt [/switch ...]   (no switch opens the settings dialog)\n"
      "Each switch follows a /; only its first letter counts, the rest is its argument.\n"
      "\n"
      "Switches:\n";
  for (const SwitchHelp& row : knownSwitches())
    addRow(text, std::string("/") + row.letter + row.argument, row.effect, 10);
  text += "\nKeys:\n";
  for (const KeyHelp& row : keyTable) addRow(text, row.keys, row.effect, 23);
  text += "\nzolt --help, -h or /? prints this text; zolt --version prints the version.\n";
  return text;
}
