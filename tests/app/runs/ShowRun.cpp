// ShowRun: folders, links and the shell command that runs zolt.
#include "ShowRun.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/RunCommand.h"
#include "support/ZoltRunner.h"

namespace fs = std::filesystem;

namespace showrun {

std::string& zoltBinary() {
  static std::string path = std::string(ZOLT_OUTPUT_DIR) + "/zolt";
  return path;
}

std::string& runEnvironment() {
  static std::string text;
  return text;
}

std::string& sharedFolder() {
  static std::string path = ZOLT_RUNS_DIR;
  return path;
}

int& recordFps() {
  static int fps = 5;
  return fps;
}

std::string freshFolder(const std::string& name) {
  return testsupport::freshRunFolder("zolt-run-" + std::to_string(getpid()) + "-" + name);
}

void linkArchive(const std::string& folder) {
  testsupport::linkBuilt(folder, "trov.qz5");
}

void linkMusic(const std::string& folder) {
  testsupport::linkBuilt(folder, "zolt.mp3");
}

Result run(const std::string& folder, const std::string& switches, const std::string& environment,
           int seconds) {
  return testsupport::runZolt(zoltBinary(), folder, switches, runEnvironment() + " " + environment, seconds);
}

Result runApart(const std::string& folder, const std::string& switches, int seconds) {
  const fs::path bin = fs::path(folder + "-apart") / "bin";
  fs::remove_all(bin.parent_path());
  fs::create_directories(bin);
  fs::copy_file(zoltBinary(), bin / "zolt");
  const std::string saved = zoltBinary();
  zoltBinary() = (bin / "zolt").string();
  Result result = run(folder, switches, "", seconds);
  zoltBinary() = saved;
  fs::remove_all(bin.parent_path());
  return result;
}

Result runAndSignal(const std::string& folder, const std::string& switches, const std::string& signal,
                    const std::string& after, int seconds) {
  // The output goes to a file the shell watches; the status is zolt's own.
  const std::string command =
      "cd '" + folder + "' && (SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy " + runEnvironment() +
      " timeout --foreground -s KILL " + std::to_string(seconds) + " '" + zoltBinary() + "' " + switches +
      " > run.out 2>&1 & pid=$!; end=$(($(date +%s) + " + std::to_string(seconds / 2) +
      ")); while [ $(date +%s) -lt $end ]; do grep -q '" + after +
      "' run.out && break; sleep 0.2; done; sleep 1; kill -" + signal + " $pid; wait $pid; echo \"rc=$?\" >> run.out);"
      " cat run.out";
  return testsupport::runWithStatus(command);
}

const int kSceneStartBeat[9] = {0, 32, 64, 96, 128, 160, 224, 320, 452};

long long countVideoFrames(const std::string& file) {
  const std::string counted = testsupport::runAndRead(
      "ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of csv=p=0 '" +
      file + "'");
  return std::atoll(counted.c_str());
}

std::string decodeSound(const std::string& file, const std::string& extra) {
  return testsupport::runAndRead("ffmpeg -nostdin -v error -i '" + file + "' " + extra +
                                 " -map 0:a -f s16le -ac 2 -ar 44100 -");
}

int countLines(const std::string& text, const std::string& word) { return testsupport::countLines(text, word); }

std::string firstFault(const std::string& output) {
  static const char* const signs[] = {"AddressSanitizer", "LeakSanitizer", "runtime error:",
                                      "terminate called", "Segmentation fault", "Aborted",
                                      "buffer overflow detected", "double free"};
  for (const char* sign : signs) {
    const size_t at = output.find(sign);
    if (at != std::string::npos) return output.substr(at, 400);
  }
  return "";
}

}  // namespace showrun
