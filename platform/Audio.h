// Audio: the sound output and one compressed music stream, over SDL2_mixer.
//
// Stands where the closed audio library stood. The output opens at 44.1 kHz
// stereo; where no sound device opens, SDL's dummy driver takes over (it
// consumes samples in real time, so positions still advance). The music is
// decoded from a memory copy of the file that the caller keeps alive.
#pragma once

#include <cstddef>

namespace platform {

class Music {
 public:
  // Opens the sound output (shared by every Music); it stays open while
  // one exists.
  Music();
  ~Music();
  Music(const Music&) = delete;
  Music& operator=(const Music&) = delete;

  // True when a sound output (a device or the dummy driver) is open.
  bool outputOpen() const;

  // Opens the stream from `data` (which must outlive it), loaded and paused
  // at 0. False, with the reason in lastError(), when it cannot be decoded.
  bool openFromMemory(const unsigned char* data, size_t size);
  void close();
  bool isOpen() const;

  void setPaused(bool paused);
  bool isPaused() const;
  // Moves playback to `ms` milliseconds; positions continue from there.
  void seekMs(int ms);
  // The decoder's position in milliseconds; it moves a buffer at a time.
  int positionMs() const;
  // The decoded length in milliseconds (0 when unknown).
  int lengthMs() const;

  const char* lastError() const;

 private:
  struct State;
  State* state;
};

}  // namespace platform
