// jpeg_decode: decode time of the show's JPEG decoder against
// libjpeg-turbo (fast integer transform, plain upsampling) on the same
// files, per layout, measured side by side in one run and reported as a
// ratio (ours / libjpeg-turbo; below 1 means ours is faster).
//
// Usage: zolt_bench_jpeg [rounds]
#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include "JpegTestSupport.h"
#include "gfx/JpegDecoder.h"
#include "gfx/JpegIdct.h"
#include "gfx/JpegSource.h"

namespace {

struct Layout {
  const char* name;
  int components, h, v;
  bool progressive;
};

const Layout kLayouts[] = {
    {"grey", 1, 1, 1, false},        {"4:4:4", 3, 1, 1, false}, {"4:2:2", 3, 2, 1, false},
    {"4:4:0", 3, 1, 2, false},       {"4:2:0", 3, 2, 2, false}, {"progressive 4:2:0", 3, 2, 2, true},
};

// NOTE: the thread's CPU time, not wall time: the build machine is shared,
// and time spent descheduled would swamp a few milliseconds of decoding.
double now() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

// Each decoder hands out rows into its own buffer; nothing is copied
// further, so only decoding is timed.
bool decodeOurs(const std::vector<uint8_t>& file, int acceleration) {
  JpegMemorySource source(file.data(), static_cast<int32_t>(file.size()));
  JpegDecoder decoder(&source, acceleration);
  if (decoder.errorCode || decoder.start() != 0) return false;
  uint8_t* row = nullptr;
  int extra = 0, rows = 0;
  while (decoder.readRow(&row, &extra) == 0) ++rows;
  return rows == decoder.height;
}

bool decodeTurbo(const std::vector<uint8_t>& file) {
  jpeg_decompress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
  jpeg_read_header(&info, TRUE);
  info.dct_method = JDCT_IFAST;
  info.do_fancy_upsampling = FALSE;
  jpeg_start_decompress(&info);
  std::vector<JSAMPLE> row(static_cast<size_t>(info.output_width) * info.output_components);
  JSAMPROW rows[1] = {row.data()};
  while (info.output_scanline < info.output_height) jpeg_read_scanlines(&info, rows, 1);
  bool whole = info.output_scanline == info.output_height;
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return whole;
}

// A photograph-like test picture: smooth shading with fine detail.
jpegtest::Image picture(int components) {
  jpegtest::Image image = jpegtest::makeTestImage(1024, 768, components, 4242);
  for (size_t i = 0; i < image.pixels.size(); ++i) {
    size_t pixel = i / components;
    int x = static_cast<int>(pixel % 1024), y = static_cast<int>(pixel / 1024);
    int smooth = (x / 4 + y / 3 + (x * y) / 2048) & 255;
    image.pixels[i] = static_cast<uint8_t>((image.pixels[i] + 3 * smooth) / 4);
  }
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
  std::printf("1024x768, quality 90, %d decodes each, interleaved; best thread CPU time of each\n", rounds);
  std::printf("fast transform on %s\n", jpegHasSimdIdct() ? "SSE2" : "plain C++");
  std::printf("%-20s %12s %12s %12s %8s %8s\n", "layout", "ours ms", "accurate ms", "turbo ms", "ratio",
              "acc/turbo");
  for (const Layout& layout : kLayouts) {
    jpegtest::EncodeOptions options;
    options.components = layout.components;
    options.h = layout.h;
    options.v = layout.v;
    options.progressive = layout.progressive;
    std::vector<uint8_t> file = jpegtest::encode(picture(layout.components), options);
    double ours = 1e9, accurate = 1e9, turbo = 1e9;
    for (int r = 0; r < rounds; ++r) {
      double start = now();
      bool a = decodeOurs(file, 1);
      ours = std::min(ours, now() - start);
      start = now();
      bool b = decodeOurs(file, 0);
      accurate = std::min(accurate, now() - start);
      start = now();
      bool c = decodeTurbo(file);
      turbo = std::min(turbo, now() - start);
      if (!a || !b || !c) {
        std::fprintf(stderr, "decode failed for %s\n", layout.name);
        return 1;
      }
    }
    std::printf("%-20s %12.3f %12.3f %12.3f %8.2f %8.2f\n", layout.name, ours * 1e3, accurate * 1e3, turbo * 1e3,
                ours / turbo, accurate / turbo);
  }
  return 0;
}
