// RunCommand: runs a shell command (ffprobe, ffmpeg) and returns what it
// wrote to standard output.
#pragma once

#include <cstdio>
#include <string>

namespace testsupport {

inline std::string runAndRead(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  char block[65536];
  size_t got;
  while ((got = std::fread(block, 1, sizeof block, pipe)) > 0) out.append(block, got);
  pclose(pipe);
  return out;
}

}  // namespace testsupport
