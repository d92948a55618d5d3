// ZoltRunner: the built zolt run headless in a folder of its own, beside
// links to the build's archive and soundtrack, with its exit status and
// everything it printed.
#pragma once

#include <filesystem>
#include <string>

#include "support/RunCommand.h"

namespace testsupport {

struct ZoltRun {
  int status = -1;  // 124 when it had to be stopped
  std::string output;
};

// Runs a shell command that ends its output with "rc=STATUS".
inline ZoltRun runWithStatus(const std::string& command) {
  ZoltRun result;
  result.output = runAndRead(command);
  const size_t at = result.output.rfind("rc=");
  if (at != std::string::npos) {
    result.status = std::stoi(result.output.substr(at + 3));
    result.output.erase(at);
  }
  return result;
}

// A new empty folder in the temporary folder; removed first if an earlier
// run left it.
inline std::string freshRunFolder(const std::string& name) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder.string();
}

// Links the build's `file` (the archive, the soundtrack) into `folder`, so
// nothing is copied.
inline void linkBuilt(const std::string& folder, const std::string& file) {
  std::filesystem::create_symlink(std::string(ZOLT_OUTPUT_DIR) + "/" + file,
                                  std::filesystem::path(folder) / file);
}

// Runs `zolt` in `folder` with `switches`, offscreen with dummy sound unless
// `environment` ("NAME=value ...", later settings win) says otherwise;
// killed after `seconds`.
inline ZoltRun runZolt(const std::string& zolt, const std::string& folder, const std::string& switches,
                       const std::string& environment, int seconds) {
  ZoltRun result = runWithStatus("cd '" + folder + "' && SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy " +
                                 environment + " timeout -s KILL " + std::to_string(seconds) + " '" + zolt +
                                 "' " + switches + " 2>&1; echo \"rc=$?\"");
  if (result.status == 137) result.status = 124;  // killed by the time limit
  return result;
}

// Lines of `text` that contain `word`.
inline int countLines(const std::string& text, const std::string& word) {
  int lines = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    if (text.substr(start, end - start).find(word) != std::string::npos) ++lines;
    start = end + 1;
  }
  return lines;
}

}  // namespace testsupport
