// MusicStream: the soundtrack file read whole into memory and played from
// that copy through the platform's audio layer.
#include "show/MusicStream.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/Audio.h"
#include "platform/Clock.h"
#include "platform/FileRead.h"
#include "platform/MessageBox.h"

struct MusicStream::Impl {
  platform::Music music;                // constructed first: opens the output
  std::vector<unsigned char> fileData;  // lives as long as the stream
  int lastMs = -1;
  uint32_t lastTick = 0;
  float lastReported = 0.0f;  // interpolated positions never run backwards
};

MusicStream::MusicStream() : impl(new Impl) {}

MusicStream::~MusicStream() {
  impl->music.close();  // the stream stops before its bytes go
  delete impl;
}

void MusicStream::open(const char* fileName) {
  impl->music.close();
  impl->fileData.clear();
  impl->lastMs = -1;
  impl->lastReported = 0.0f;
  std::string why;
  if (!fileName ||
      !platform::readWholeFile(fileName, impl->fileData, platform::kSoundFileLimit, &why)) {
    impl->fileData.clear();
    // A missing file is named alone; anything else in its place (a folder,
    // a device, a file too large) is said too.
    std::string text = fileName ? fileName : "";
    if (fileName && platform::pathExists(fileName)) text += "\n" + why;
    platform::messageBox(text.c_str(), "Cannot find file", platform::MessageIcon::None);
    return;
  }
  // NOTE: a file that is there but does not decode is told apart from a
  // missing one, so the viewer knows which it is. Without a sound device
  // the stream opens silent and runs on the wall clock.
  if (!impl->music.openFromMemory(impl->fileData.data(), impl->fileData.size())) {
    std::string text = std::string(fileName) + "\n" + impl->music.lastError();
    impl->fileData.clear();
    platform::messageBox(text.c_str(), "Cannot play music", platform::MessageIcon::Warning);
  }
}

void MusicStream::unpause() { impl->music.setPaused(false); }

void MusicStream::pause() { impl->music.setPaused(true); }

void MusicStream::seek(int ms) {
  impl->music.seekMs(ms);
  impl->lastMs = -1;
  impl->lastReported = 0.0f;
}

int MusicStream::positionMs() { return impl->music.positionMs(); }

float MusicStream::positionSeconds() {
  const int ms = positionMs();
  const uint32_t now = platform::wallMilliseconds();
  if (ms != impl->lastMs) {
    impl->lastMs = ms;
    impl->lastTick = now;
  }
  // The library's position moves a buffer at a time; the wall-clock time
  // since it last moved fills the steps in. A paused or missing stream does
  // not move, so nothing is added then.
  const bool running = impl->music.isOpen() && !impl->music.isPaused();
  const uint32_t since = running ? now - impl->lastTick : 0;
  float seconds = float((double(since) + ms) * 0.001);
  // A step that comes a little early would otherwise pull the time back.
  if (running && seconds < impl->lastReported && impl->lastReported - seconds < 0.1f)
    seconds = impl->lastReported;
  impl->lastReported = seconds;
  return seconds;
}

bool MusicStream::isOpen() const { return impl->music.isOpen(); }
