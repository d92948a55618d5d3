// FrameReadback: reads the picture just drawn (BGRA, bottom row first) for
// the capture, one frame behind through pixel-buffer objects, so the read
// waits neither for the frame's rasterisation nor stalls the next frame.
#pragma once

#include <functional>
#include <vector>

class FrameReadback {
 public:
  using Use = std::function<void(const unsigned char* pixels)>;

  // Starts reading the width x height picture of the read framebuffer and
  // hands the read started by the call before to `use` (nothing on the
  // first call; null pixels when that read was lost). Where the driver has no pixel-buffer objects, or `behind`
  // is false, reads and hands over this picture at once.
  void read(int width, int height, bool behind, const Use& use);
  // Hands the read still in flight, if any, to `use`; true when there was one.
  bool finish(const Use& use);
  // Frees the buffers (the context must still be current); a read in
  // flight is dropped.
  void release();

 private:
  bool buffersUsable();

  unsigned buffers[2] = {0, 0};
  int inFlight = -1;  // the buffer holding a read not yet handed over, if any
  int bufferWidth = 0, bufferHeight = 0;
  int checked = 0;  // 0 not yet, 1 usable, -1 not offered by the driver
  std::vector<unsigned char> memory;  // the read-at-once path
};
