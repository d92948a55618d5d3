// libFuzzer target for the PNG path: any bytes are decoded from memory with
// the transforms the show uses and with libpng's expanding ones.
#include <png.h>

#include <cstddef>
#include <cstdint>

#include "gfx/ImageLoading.h"

static volatile unsigned sink;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int transforms[] = {0, PNG_TRANSFORM_EXPAND | PNG_TRANSFORM_STRIP_16};
  unsigned sum = 0;
  for (int t : transforms) {
    PngPicture picture;
    if (!decodePngMemory(data, size, t, "fuzz.png", picture)) continue;
    if (picture.pixels.size() != size_t(picture.width) * picture.height * picture.channels) __builtin_trap();
    for (unsigned char b : picture.pixels) sum += b;
  }
  sink = sum;
  return 0;
}
