// ShowRun: the built program run as a user or a pipeline runs it, headless,
// in a fresh folder of its own, with its exit status and everything it
// printed (message boxes arrive on standard error without a display).
#pragma once

#include <string>
#include <vector>

#include "support/FileBytes.h"
#include "support/ZoltRunner.h"

namespace showrun {

using Result = testsupport::ZoltRun;

// The zolt under test: --zolt=PATH on the command line, else the build's.
std::string& zoltBinary();
// Set for every run ("NAME=value ..."): --zolt-env=TEXT on the command line.
std::string& runEnvironment();

// Where runs that other test processes read leave their files (the whole
// show's recordings): --shared-dir=PATH, else the build's runs/ folder.
std::string& sharedFolder();
// Frames a second of the whole show's recordings: --record-fps=N, else 5.
int& recordFps();

// A new empty folder for one run, named after `name`; removed first if an
// earlier run left it.
std::string freshFolder(const std::string& name);

// Puts the archive and the soundtrack of the build beside the program's
// working folder (as links, so nothing is copied).
void linkArchive(const std::string& folder);
void linkMusic(const std::string& folder);

// Runs zolt in `folder` with `switches`, headless (offscreen video, dummy
// sound) plus `environment` ("NAME=value ..."), stopped after `seconds`.
Result run(const std::string& folder, const std::string& switches, const std::string& environment = "",
           int seconds = 300);

// Runs a copy of zolt that sits alone in a folder of its own (NAME-apart/bin),
// so that only `folder`, the current folder, can hold its data.
Result runApart(const std::string& folder, const std::string& switches, int seconds = 300);

// As run(), but sends `signal` (a kill(1) name: INT, TERM) once a line
// containing `after` has been printed, or after `seconds` / 2 without it.
Result runAndSignal(const std::string& folder, const std::string& switches, const std::string& signal,
                    const std::string& after, int seconds = 300);

// Lines of `text` that contain `word`.
int countLines(const std::string& text, const std::string& word);

// What a sanitizer, the C++ runtime or the kernel says when the program
// itself went wrong; empty when none of it is in `output`.
std::string firstFault(const std::string& output);

// Beats at which scenes 0 to 7 start, then the show's end (130 beats a
// minute), and the picture's default time offset in seconds.
extern const int kSceneStartBeat[9];
constexpr double kTimeOffset = -0.04;
inline double secondsAtBeat(double beat) { return beat * 60.0 / 130.0; }

// Video frames in a recording, counted by decoding them (ffprobe).
long long countVideoFrames(const std::string& file);
// The sound of a file as 16-bit stereo at 44.1 kHz (ffmpeg); `extra` goes
// after the input, e.g. "-t 1".
std::string decodeSound(const std::string& file, const std::string& extra = "");

using testsupport::Bytes;
using testsupport::readBytes;
using testsupport::writeBytes;

}  // namespace showrun
