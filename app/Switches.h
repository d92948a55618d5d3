// Switches: the command line's "/x" switches into the launch settings.
#pragma once

#include <string>
#include <vector>

// One switch as the help text shows it: its letter, what follows the letter
// (empty for none) and what it does.
struct SwitchHelp {
  char letter;
  const char* argument;
  const char* effect;
};

// Fills launchSettings from a command-line tail such as "/w /z2 /s3".
// Only a token's first letter counts; its rest is the argument (leading
// number, else 0). Unknown letters are ignored; the last switch wins. The
// file name of /o runs to the next blank, so it may hold folders.
void parseSwitches(const char* tail);

// Every switch the parser knows, in table order.
std::vector<SwitchHelp> knownSwitches();

// Width and height of a resolution code: 1 = 800x600, 2 = 1024x768,
// 3 = 1280x960, anything else 640x480.
void resolutionForCode(int code, int* width, int* height);

// The command-line tail of argv: arguments after the program name joined
// with single spaces.
std::string commandTail(int argc, char** argv);
