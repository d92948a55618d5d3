// Audio: the sound output and one compressed music stream, over SDL2_mixer.
//
// Stands where the closed audio library stood. The output opens at 44.1 kHz
// stereo. Where no sound device opens (said once on standard output), or
// where no sound is wanted at all (a recording), no device is touched and a
// stream runs silent on the wall clock: it opens, pauses, seeks and reports
// positions that advance in real time, so the show keeps its timing. The
// music is decoded from a memory copy of the file that the caller keeps
// alive.
#pragma once

#include <cstddef>

namespace platform {

// Whether Music objects may open a sound device; false makes every later
// output silent without probing one. Takes effect when no Music exists.
void setSoundOutputWanted(bool wanted);

class Music {
 public:
  // Opens the sound output (shared by every Music); it stays open while
  // one exists.
  Music();
  ~Music();
  Music(const Music&) = delete;
  Music& operator=(const Music&) = delete;

  // True when a sound device is open (else streams run silent).
  bool outputOpen() const;

  // Opens the stream from `data` (which must outlive it), loaded and paused
  // at 0. False, with the reason in lastError(), when it cannot be decoded.
  // Without a sound device the data is not decoded and the stream is silent.
  bool openFromMemory(const unsigned char* data, size_t size);
  void close();
  bool isOpen() const;

  void setPaused(bool paused);
  bool isPaused() const;
  // Moves playback to `ms` milliseconds; positions continue from there.
  void seekMs(int ms);
  // The decoder's position in milliseconds; it moves a buffer at a time.
  int positionMs() const;
  // The decoded length in milliseconds (0 when unknown, as when silent).
  int lengthMs() const;

  const char* lastError() const;

 private:
  struct State;
  State* state;
};

}  // namespace platform
