// AviWriter: the capture file behind openAvi / captureAviFrame / closeAvi,
// written through the platform's video encoder with the codec the /c switch
// chose, and a progress line on standard output while it records. Frames
// are read back a frame late and encoded on a worker thread; the file gets
// the same bytes, in the same order, as if each were written in its call.
#include "app/AviWriter.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "app/CaptureCodec.h"
#include "app/EncodeWorker.h"
#include "app/FrameReadback.h"
#include "platform/Clock.h"
#include "platform/FileRead.h"
#include "platform/MessageBox.h"
#include "platform/VideoEncoder.h"

namespace {

// NOTE: progress lines come at most this often, so a fast capture does not
// flood the terminal and a slow one still shows it is alive.
constexpr uint32_t kProgressIntervalMs = 2000;
// Frames that may wait for the worker: enough to ride out a slow key frame
// or write, few enough that memory stays small at any picture size.
constexpr int kQueueDepth = 3;

platform::VideoEncoder& encoder() {
  static platform::VideoEncoder instance;
  return instance;
}

EncodeWorker& worker() {
  static EncodeWorker instance;
  return instance;
}

FrameReadback readback;

// The frame number is process-wide and never reset: frame n is the show at
// n / fps, also in a file opened by a later switch-on. It counts frames as
// they are read; nextHandedOver counts them as they reach the encoder.
int64_t nextFrame = 0, nextHandedOver = 0;
int framesPerSecond = 30;
int fileWidth = 0, fileHeight = 0;
bool fileOpen = false;
bool useWorker = true, fileUsesWorker = true;
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

// Recording stops at frame `number`, which did not reach the file: the
// encoder has closed the file with what it holds (or is told to now), and
// the frame count goes on from there, as if the later frames were never read.
void stopRecording(int64_t number, std::string reason) {
  worker().finish();
  encoder().close();
  fileOpen = false;
  nextFrame = number;
  reportFailure(reason);
}

// True while the worker has met no failure; the first one it met is told
// here, on the show's thread, where message boxes belong.
bool workerHealthy() {
  if (!fileOpen) return false;
  if (!fileUsesWorker || !worker().failed()) return true;
  worker().finish();
  stopRecording(worker().failedFrame(), encoder().lastError());
  return false;
}

// The next frame of the file, in order; null pixels are a read that was lost.
void handOver(const unsigned char* pixels) {
  if (!fileOpen) return;
  const int64_t number = nextHandedOver++;
  if (pixels == nullptr) {
    stopRecording(number, "the picture could not be read back from the graphics driver");
    return;
  }
  const bool ok = fileUsesWorker ? worker().push(pixels, number) : encoder().writeFrame(pixels, number);
  if (!ok) stopRecording(fileUsesWorker ? worker().failedFrame() : number, encoder().lastError());
}

// Counts the frame just read and says how far the file has come.
void countFrame() {
  ++nextFrame;
  const uint32_t now = platform::wallMilliseconds();
  // The rate counts from the first frame: loading happens between the open
  // and the first frame of a capture from launch.
  if (framesInFile++ == 0) fileStartMs = lastProgressMs = now;
  if (now - lastProgressMs >= kProgressIntervalMs) printProgress(now);
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
  fileWidth = width;
  fileHeight = height;
  fileOpen = true;
  nextHandedOver = nextFrame;
  fileUsesWorker = useWorker;
  if (fileUsesWorker)
    worker().start(static_cast<size_t>(width) * height * 4, kQueueDepth,
                   [](const unsigned char* pixels, int64_t number) {
                     return encoder().writeFrame(pixels, number);
                   });
  framesInFile = framesAtLastProgress = 0;
  fileStartMs = lastProgressMs = platform::wallMilliseconds();
  std::printf("AVI: recording %s, %dx%d at %d frames/s, codec %s\n", openFileName.c_str(), width,
              height, fps, captureCodec().c_str());
  std::fflush(stdout);
  return true;
}

// Sound is set up before the first frame, while the worker has nothing to
// do; once a frame is on its way the encoder belongs to the worker, so a
// late call is refused here as the encoder itself would refuse it.
void startAviSoundtrackAt(double seconds) {
  if (fileOpen && (framesInFile > 0 || !encoder().skipSound(seconds))) {
    std::printf("AVI: the sound cannot start at %.2f s; it starts at 0\n", seconds);
    std::fflush(stdout);
  }
}

bool attachAviSoundtrack(const char* soundFile) {
  if (!soundFile || !fileOpen) return false;
  if (framesInFile > 0 || !encoder().addSoundtrack(soundFile)) {
    std::printf("AVI: recording without sound: %s\n",
                framesInFile > 0 ? "the soundtrack must be added before the first frame"
                                 : encoder().lastError().c_str());
    std::fflush(stdout);
    return false;
  }
  std::printf("AVI: sound from %s\n", soundFile);
  std::fflush(stdout);
  return true;
}

void captureAviFrame() {
  if (!workerHealthy()) return;
  countFrame();
  readback.read(fileWidth, fileHeight, fileUsesWorker, handOver);
}

void addAviFrame(const unsigned char* pixels) {
  if (!pixels || !workerHealthy()) return;
  readback.finish(handOver);  // a read still in flight is the earlier frame
  if (!fileOpen) return;
  countFrame();
  handOver(pixels);
}

void setAviWorker(bool on) { useWorker = on; }

long long aviFrameNumber() { return static_cast<long long>(nextFrame); }

bool aviRecordingFailed() { return recordingFailed; }

void closeAvi() {
  if (fileOpen) readback.finish(handOver);  // the last frame read is still in flight
  readback.release();
  if (!workerHealthy()) return;
  if (fileUsesWorker && !worker().finish()) {
    stopRecording(worker().failedFrame(), encoder().lastError());
    return;
  }
  fileOpen = false;
  // The last word on the file: what it holds, unless the last line said it.
  if (framesInFile != framesAtLastProgress) printProgress(platform::wallMilliseconds());
  if (!encoder().close()) reportFailure(encoder().lastError());
}
