// JpegSource: file and memory byte sources for the JPEG decoder.
#include "gfx/JpegSource.h"

#include <cstring>

JpegFileSource::~JpegFileSource() {
  if (file) fclose(file);
}

int JpegFileSource::read(uint8_t* buffer, int length, uint8_t* endFlag) {
  if (!file) return -1;
  if (atEnd) {
    *endFlag = 1;
    return 0;
  }
  if (failed) return -1;
  if (length <= 0) return 0;
  size_t got = fread(buffer, 1, static_cast<size_t>(length), file);
  if (got < static_cast<size_t>(length)) {
    if (ferror(file)) {
      failed = 1;
      return -1;
    }
    atEnd = 1;
    *endFlag = 1;
  }
  return static_cast<int>(got);
}

int JpegMemorySource::read(uint8_t* buffer, int length, uint8_t* endFlag) {
  int remaining = size - position;
  if (length > remaining) length = remaining;
  if (length < 0) length = 0;
  if (length > 0) memcpy(buffer, data + position, static_cast<size_t>(length));
  position += length;
  *endFlag = position >= size ? 1 : 0;
  return length;
}
