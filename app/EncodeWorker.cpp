// EncodeWorker: the queue and the thread behind it.
#include "app/EncodeWorker.h"

#include <cstring>
#include <new>

EncodeWorker::~EncodeWorker() { finish(); }

void EncodeWorker::start(size_t frameBytes, int depth, Write writeFrame) {
  finish();
  write = std::move(writeFrame);
  slots.assign(static_cast<size_t>(depth > 0 ? depth : 1), Slot());
  for (Slot& slot : slots) slot.pixels.resize(frameBytes);
  first = queued = 0;
  stopping = false;
  writeFailed = false;
  failedNumber = -1;
  thread = std::thread(&EncodeWorker::run, this);
}

bool EncodeWorker::push(const unsigned char* pixels, int64_t frameNumber) {
  if (!thread.joinable()) return false;
  std::unique_lock<std::mutex> hold(lock);
  changed.wait(hold, [this] { return queued < slots.size() || writeFailed; });
  if (writeFailed) return false;
  // The free slot is the worker's only once it is counted, so the copy
  // needs no lock.
  Slot& slot = slots[(first + queued) % slots.size()];
  hold.unlock();
  std::memcpy(slot.pixels.data(), pixels, slot.pixels.size());
  slot.number = frameNumber;
  hold.lock();
  ++queued;
  changed.notify_all();
  return true;
}

void EncodeWorker::run() {
  std::unique_lock<std::mutex> hold(lock);
  for (;;) {
    changed.wait(hold, [this] { return queued > 0 || stopping; });
    if (queued == 0) return;  // stopping, and everything is written
    // The frame stays counted while it is written, so push never reuses it.
    Slot& slot = slots[first];
    hold.unlock();
    // NOTE: an exception may not leave the thread (it would abort the
    // show); running out of memory while encoding is a failed write.
    bool ok = false;
    try {
      ok = write(slot.pixels.data(), slot.number);
    } catch (const std::bad_alloc&) {
    }
    hold.lock();
    if (!ok) {
      failedNumber = slot.number;
      writeFailed = true;
      queued = 0;
      changed.notify_all();
      return;
    }
    first = (first + 1) % slots.size();
    --queued;
    changed.notify_all();
  }
}

bool EncodeWorker::finish() {
  if (thread.joinable()) {
    {
      std::lock_guard<std::mutex> hold(lock);
      stopping = true;
    }
    changed.notify_all();
    thread.join();
  }
  return !writeFailed;
}
