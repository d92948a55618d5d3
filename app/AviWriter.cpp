// AviWriter: the capture file behind openAvi / addAviFrame / closeAvi,
// written through the platform's video encoder with the codec the /c switch
// chose, and a progress line on standard output while it records.
#include "app/AviWriter.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "app/CaptureCodec.h"
#include "platform/Clock.h"
#include "platform/FileRead.h"
#include "platform/MessageBox.h"
#include "platform/VideoEncoder.h"

namespace {

// NOTE: progress lines come at most this often, so a fast capture does not
// flood the terminal and a slow one still shows it is alive.
constexpr uint32_t kProgressIntervalMs = 2000;

platform::VideoEncoder& encoder() {
  static platform::VideoEncoder instance;
  return instance;
}

// The frame number is process-wide and never reset: frame n is the show at
// n / fps, also in a file opened by a later switch-on.
int64_t nextFrame = 0;
int framesPerSecond = 30;
std::string openFileName;
int64_t framesInFile = 0, framesAtLastProgress = 0;
bool recordingFailed = false;
uint32_t fileStartMs = 0, lastProgressMs = 0;

// Frames in this file, the show time of the last one, and the rate so far.
void printProgress(uint32_t now) {
  const double elapsed = (now - fileStartMs) * 0.001;
  const double rate = elapsed > 0.0 && framesInFile > 1 ? (framesInFile - 1) / elapsed : 0.0;
  std::printf("AVI: %lld frames written, show time %.2f s, %.1f frames/s\n",
              static_cast<long long>(framesInFile), double(nextFrame - 1) / framesPerSecond, rate);
  std::fflush(stdout);
  lastProgressMs = now;
  framesAtLastProgress = framesInFile;
}

void reportFailure(const std::string& reason) {
  recordingFailed = true;
  const std::string text = "Sorry, cannot record the show into " + openFileName + ".\n" + reason;
  platform::messageBox(text.c_str(), "Error", platform::MessageIcon::Stop);
}

}  // namespace

bool openAvi(const char* fileName, int fps, int width, int height) {
  closeAvi();
  openFileName = fileName ? fileName : "";
  const bool existed = platform::pathExists(openFileName.c_str());
  if (!encoder().open(openFileName, captureCodec().c_str(), fps, width, height)) {
    // A file the failed open created holds nothing: it does not stay.
    if (!existed) std::remove(openFileName.c_str());
    reportFailure(encoder().lastError());
    return false;
  }
  framesPerSecond = fps;
  framesInFile = framesAtLastProgress = 0;
  fileStartMs = lastProgressMs = platform::wallMilliseconds();
  std::printf("AVI: recording %s, %dx%d at %d frames/s, codec %s\n", openFileName.c_str(), width,
              height, fps, captureCodec().c_str());
  std::fflush(stdout);
  return true;
}

void startAviSoundtrackAt(double seconds) {
  if (encoder().isOpen() && !encoder().skipSound(seconds)) {
    std::printf("AVI: the sound cannot start at %.2f s; it starts at 0\n", seconds);
    std::fflush(stdout);
  }
}

bool attachAviSoundtrack(const char* soundFile) {
  if (!soundFile || !encoder().isOpen()) return false;
  if (!encoder().addSoundtrack(soundFile)) {
    std::printf("AVI: recording without sound: %s\n", encoder().lastError().c_str());
    std::fflush(stdout);
    return false;
  }
  std::printf("AVI: sound from %s\n", soundFile);
  std::fflush(stdout);
  return true;
}

void addAviFrame(const unsigned char* pixels) {
  if (!pixels || !encoder().isOpen()) return;
  if (!encoder().writeFrame(pixels, nextFrame)) {
    // The encoder has closed the file with what it holds; recording stops.
    reportFailure(encoder().lastError());
    return;
  }
  ++nextFrame;
  const uint32_t now = platform::wallMilliseconds();
  // The rate counts from the first frame: loading happens between the open
  // and the first frame of a capture from launch.
  if (framesInFile++ == 0) fileStartMs = lastProgressMs = now;
  if (now - lastProgressMs >= kProgressIntervalMs) printProgress(now);
}

long long aviFrameNumber() { return static_cast<long long>(nextFrame); }

bool aviRecordingFailed() { return recordingFailed; }

void closeAvi() {
  if (!encoder().isOpen()) return;
  // The last word on the file: what it holds, unless the last line said it.
  if (framesInFile != framesAtLastProgress) printProgress(platform::wallMilliseconds());
  if (!encoder().close()) reportFailure(encoder().lastError());
}
