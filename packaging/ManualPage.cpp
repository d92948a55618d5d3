// ManualPage: writes zolt.6 at build time from the switch and key tables
// the help text is made from, so the page lists what the program knows.
// usage: zolt_manual_page VERSION OUTPUT
#include <cstdio>
#include <fstream>
#include <string>

#include "app/HelpText.h"
#include "app/Switches.h"

namespace {

// A line of text as roff takes it: backslashes escaped, and a leading
// dot or quote kept from reading as a request.
std::string roff(const std::string& text) {
  std::string out = (!text.empty() && (text[0] == '.' || text[0] == '\'')) ? "\\&" : "";
  for (char c : text) out += c == '\\' ? std::string("\\e") : std::string(1, c);
  return out;
}

const char* const kHead =
    ".SH NAME\n"
    "zolt \\- z-olt!, a real-time audiovisual show\n"
    ".SH SYNOPSIS\n"
    ".B zolt\n"
    ".RI [ /switch \" ...\"]\n"
    ".br\n"
    ".B zolt \\-\\-help\n"
    ".br\n"
    ".B zolt \\-\\-version\n"
    ".SH DESCRIPTION\n"
    "Eight scenes of glowing green and white line drawings, 3D models, photographs\n"
    "and earlier frames reused as textures, cut to a 130 BPM soundtrack. The show\n"
    "plays once and exits; it can also record itself frame-exact into a video file,\n"
    "on a machine without a display too.\n"
    ".PP\n"
    "Without switches a settings dialog chooses the resolution, full screen, quality\n"
    "and a random seed. Any switch skips the dialog. Each switch follows a /; only\n"
    "its first letter counts, the rest is its argument (/w /z2 /s3 and /w/z2/s3 are\n"
    "the same). The last one wins; unknown letters are ignored.\n"
    ".SH OPTIONS\n";

const char* const kTail =
    ".SH FILES\n"
    ".TP\n"
    ".I trov.qz5\n"
    "The show's data archive, and beside it the soundtrack (zolt.mp3). Both are\n"
    "looked for in the current folder, then in the program's own folder, then in\n"
    ".I ../share/zolt\n"
    "beside the program (/usr/share/zolt for the package).\n"
    ".TP\n"
    ".I wirefall.avi\n"
    "The recording, written to the current folder unless /o names another place.\n"
    ".SH EXIT STATUS\n"
    "0 when the show played (even with assets missing, each one reported), 1 when\n"
    "it could not start (no archive, no window or GL context), 2 when a recording\n"
    "asked for with /m could not be written whole.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s VERSION OUTPUT\n", argv[0]);
    return 2;
  }
  std::string page = std::string(".TH ZOLT 6 \"\" \"zolt ") + argv[1] + "\" \"Games\"\n" + kHead;
  for (const SwitchHelp& row : knownSwitches()) {
    page += ".TP\n";
    const std::string name = std::string("/") + row.letter;
    page += row.argument[0] != '\0' ? ".BI " + name + " " + row.argument + "\n" : ".B " + name + "\n";
    page += roff(row.effect) + "\n";
  }
  page += ".SH KEYS\n";
  for (const KeyHelp& row : knownKeys()) page += ".TP\n.B " + roff(row.keys) + "\n" + roff(row.effect) + "\n";
  page += kTail;
  std::ofstream out(argv[2], std::ios::binary);
  out << page;
  out.close();
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
