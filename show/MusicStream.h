// MusicStream: the soundtrack, read whole from disk and played from memory.
//
// Opens paused at 0; the show unpauses it on its first frame, may seek it
// before, and reads its position to keep the picture with the sound.
#pragma once

class MusicStream {
 public:
  MusicStream();
  ~MusicStream();
  MusicStream(const MusicStream&) = delete;
  MusicStream& operator=(const MusicStream&) = delete;

  // Reads the file and opens the stream paused at 0; on failure shows
  // "Cannot find file" and leaves the stream empty (every call then a no-op).
  void open(const char* fileName);
  void unpause();
  // Holds the sound where it is; unpause goes on from there.
  void pause();
  void seek(int ms);
  int positionMs();
  // Position interpolated between the library's coarse steps.
  float positionSeconds();
  bool isOpen() const;

 private:
  struct Impl;
  Impl* impl = nullptr;
};
