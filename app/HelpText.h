// HelpText: what `zolt --help`, `-h` and `/?` print: the switches, made
// from the parser's own table, and the keys.
#pragma once

#include <string>

// True when the command line asks for help: an argument "--help", "-h" or
// "/?", or a "?" switch anywhere in the tail.
bool helpRequested(int argc, char** argv);

// The help text, ending in a newline.
std::string helpText();
