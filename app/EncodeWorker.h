// EncodeWorker: a thread that writes the capture's frames, in order, behind
// a short queue, so colour conversion, encoding and the file's writes run
// beside the drawing of the next frames instead of between them.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class EncodeWorker {
 public:
  // Writes one frame; false when the file cannot take it (the worker then
  // drops what is queued and takes nothing more).
  using Write = std::function<bool(const unsigned char* pixels, int64_t frameNumber)>;

  ~EncodeWorker();

  // Starts the thread for frames of `frameBytes` bytes, at most `depth`
  // waiting at once.
  void start(size_t frameBytes, int depth, Write write);
  // Copies the frame into the queue, waiting while the queue is full; false
  // (nothing queued) once a write has failed.
  bool push(const unsigned char* pixels, int64_t frameNumber);
  // Waits until every queued frame is written and ends the thread; false
  // when a write failed. Harmless when the thread is not running.
  bool finish();
  // Whether a write has failed; may be asked while the thread runs.
  bool failed() const { return writeFailed.load(); }
  // The number of the frame whose write failed.
  int64_t failedFrame() const { return failedNumber; }

 private:
  void run();

  struct Slot {
    std::vector<unsigned char> pixels;
    int64_t number = 0;
  };
  Write write;
  std::vector<Slot> slots;
  size_t first = 0, queued = 0;  // the ring of waiting frames
  bool stopping = false;
  std::atomic<bool> writeFailed{false};
  int64_t failedNumber = -1;
  std::mutex lock;
  std::condition_variable changed;
  std::thread thread;
};
