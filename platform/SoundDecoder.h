// SoundDecoder: a compressed sound file decoded to 16-bit stereo samples,
// a block at a time, over libavformat and libavcodec.
//
// The decoder honours the file's gapless information (encoder delay and
// padding), so sample 0 is the first sample the music was made with.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class SoundDecoder {
 public:
  static constexpr int sampleRate = 44100;
  static constexpr int channels = 2;

  SoundDecoder();
  ~SoundDecoder();
  SoundDecoder(const SoundDecoder&) = delete;
  SoundDecoder& operator=(const SoundDecoder&) = delete;

  // False (with lastError()) when the file is missing, holds no sound, or is
  // not at 44.1 kHz.
  bool open(const std::string& path);
  // Appends the next `frames` stereo frames (interleaved left, right) to
  // `out`; past the end of the music the frames are silent.
  void read(int64_t frames, std::vector<int16_t>& out);
  bool isOpen() const;
  const std::string& lastError() const;

 private:
  struct State;
  State* state;
};

}  // namespace platform
