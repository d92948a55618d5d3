// HelpText: what `zolt --help`, `-h` and `/?` print: the switches, made
// from the parser's own table, and the keys; and what `zolt --version`
// prints.
#pragma once

#include <string>
#include <vector>

// True when the command line asks for help: an argument "--help", "-h" or
// "/?", or a "?" switch anywhere in the tail.
bool helpRequested(int argc, char** argv);

// The help text, ending in a newline.
std::string helpText();

// True when an argument is "--version".
bool versionRequested(int argc, char** argv);

// The program's version, set in one place by the build.
extern const char* const kZoltVersion;

// One key as the help text shows it.
struct KeyHelp {
  const char* keys;
  const char* effect;
};

// Every key the show acts on, in the help text's order.
std::vector<KeyHelp> knownKeys();
