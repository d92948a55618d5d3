// libFuzzer target for the JPEG decoder: any bytes are read as a JPEG from
// memory, and every row it offers is decoded and touched.
#include <cstddef>
#include <cstdint>

#include "gfx/JpegDecoder.h"
#include "gfx/JpegSource.h"

// Keeps the reads from being optimised away.
static volatile unsigned sink;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1 << 20) return 0;
  JpegMemorySource source(data, static_cast<int>(size));
  JpegDecoder decoder(&source, 1);
  if (decoder.errorCode || decoder.start() != 0) return 0;
  // The show never sees pictures bigger than this; bigger ones only cost time.
  if (int64_t(decoder.width) * decoder.height > 4096 * 4096) return 0;
  unsigned sum = 0;
  uint8_t* row = nullptr;
  int extra = 0;
  for (int r = 0; r < decoder.height && decoder.readRow(&row, &extra) == 0; ++r)
    for (int x = 0; x < decoder.width * decoder.pixelStride; ++x) sum += row[x];
  sink = sum;
  return 0;
}
