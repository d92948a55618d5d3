// JpegSource: where the JPEG decoder pulls its bytes from.
//
// Two sources: a buffered file stream (owned, closed on destruction) and a
// block of memory (not owned, bounded by its size). The decoder only reads;
// whoever made the source destroys it after the decoder is done.
#pragma once

#include <cstdint>
#include <cstdio>

class JpegSource {
 public:
  virtual ~JpegSource() = default;
  // Up to `length` bytes into `buffer`; the count delivered, or -1 on error.
  // Sets *endFlag to 1 once no more data will come.
  virtual int read(uint8_t* buffer, int length, uint8_t* endFlag) = 0;
  // Reserved slot kept for layout; no source uses it.
  virtual void reserved() {}
  // Called by the decoder when it abandons the source after an error.
  virtual void release() {}
};

class JpegFileSource : public JpegSource {
 public:
  // Takes ownership of `file` (may be null: every read then fails).
  explicit JpegFileSource(FILE* file) : file(file) {}
  ~JpegFileSource() override;
  int read(uint8_t* buffer, int length, uint8_t* endFlag) override;

  FILE* file = nullptr;
  uint8_t atEnd = 0;
  uint8_t failed = 0;
};

class JpegMemorySource : public JpegSource {
 public:
  JpegMemorySource(const uint8_t* data, int32_t size) : data(data), size(size < 0 ? 0 : size) {}
  int read(uint8_t* buffer, int length, uint8_t* endFlag) override;

  const uint8_t* data = nullptr;
  int32_t size = 0;
  int32_t position = 0;
};
