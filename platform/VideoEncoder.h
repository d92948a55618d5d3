// VideoEncoder: one video stream into an AVI, Matroska or MP4 file, over
// libavformat and libavcodec.
//
// Stands where the Video for Windows file interface and its compression
// dialog stood. Frames come in as the show reads them back (BGRA, bottom
// row first) and are converted to what the chosen codec takes. The codecs
// are a fixed table (videoCodecs()); the first entry is the default. The
// file name's extension picks the container: ".mkv" Matroska, ".mp4" MP4
// (sound as AAC, which browsers play beside H.264), anything else AVI.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct VideoCodecInfo {
  const char* name;         // what the capture switch names
  const char* description;  // one line for messages and help
  bool lossless;
};

// Every codec of the table, default first, including ones this machine's
// libavcodec lacks (videoCodecAvailable tells).
const std::vector<VideoCodecInfo>& videoCodecs();
bool videoCodecAvailable(const char* name);

// The container a file name picks: "mkv" or "mp4" by its extension (any
// case), "avi" for every other name.
const char* containerForFile(const std::string& path);

class VideoEncoder {
 public:
  VideoEncoder();
  ~VideoEncoder();
  VideoEncoder(const VideoEncoder&) = delete;
  VideoEncoder& operator=(const VideoEncoder&) = delete;

  // Sets up the codec first and only then creates the file, so a codec that
  // cannot be opened, or that the container cannot hold, leaves nothing on
  // disk. False with lastError() set.
  bool open(const std::string& path, const char* codecName, int fps, int width, int height);
  // Adds the soundtrack (16-bit PCM, AAC in MP4); from then on each frame
  // carries the sound up to its end, sound sample 0 at the first frame.
  // Only before the first frame; false (video only) when the file cannot
  // be decoded.
  bool addSoundtrack(const std::string& soundPath);
  // Drops the soundtrack's first `seconds`, so the file's sound starts there
  // (a recording that starts later in the show). Only after addSoundtrack
  // and before the first frame; false otherwise.
  bool skipSound(double seconds);
  // Encodes one width x height x 4 BGRA frame, bottom row first, shown at
  // frameNumber / fps. False (and the file closed) when writing fails.
  bool writeFrame(const unsigned char* pixels, int64_t frameNumber);
  // Drains the encoder and finishes the index; false when that fails.
  bool close();
  bool isOpen() const;
  const std::string& lastError() const;

 private:
  bool openAacSound();

  struct State;
  State* state;
};

}  // namespace platform
