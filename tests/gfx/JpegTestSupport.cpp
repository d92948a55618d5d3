// JpegTestSupport: libjpeg-turbo reference encoding and decoding for tests.
#include "JpegTestSupport.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "gfx/JpegDecoder.h"
#include "gfx/JpegSource.h"

namespace jpegtest {

namespace {

struct ErrorTrap {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void trapError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1); }
void quietMessage(j_common_ptr) {}

}  // namespace

Image makeTestImage(int width, int height, int components, uint32_t seed) {
  Image image;
  image.width = width;
  image.height = height;
  image.components = components;
  image.pixels.resize(static_cast<size_t>(width) * height * components);
  uint32_t state = seed;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      state = state * 1664525u + 1013904223u;
      int noise = static_cast<int>((state >> 24) & 31) - 16;
      bool stripe = ((x / 5) + (y / 7)) % 3 == 0;
      for (int c = 0; c < components; ++c) {
        int base = c == 0 ? (x * 255) / (width > 1 ? width - 1 : 1)
                          : c == 1 ? (y * 255) / (height > 1 ? height - 1 : 1) : ((x + y) * 3) & 255;
        int v = base + noise + (stripe ? 60 : 0);
        image.pixels[(static_cast<size_t>(y) * width + x) * components + c] =
            static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
      }
    }
  }
  return image;
}

std::vector<uint8_t> encode(const Image& image, const EncodeOptions& options) {
  jpeg_compress_struct info;
  ErrorTrap trap;
  info.err = jpeg_std_error(&trap.manager);
  trap.manager.error_exit = trapError;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  if (setjmp(trap.jump)) {
    jpeg_destroy_compress(&info);
    free(buffer);
    return {};
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(image.width);
  info.image_height = static_cast<JDIMENSION>(image.height);
  info.input_components = image.components;
  info.in_color_space = image.components == 1 ? JCS_GRAYSCALE : image.components == 4 ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, options.quality, TRUE);
  if (options.components >= 3) {
    info.comp_info[0].h_samp_factor = options.h;
    info.comp_info[0].v_samp_factor = options.v;
    info.comp_info[1].h_samp_factor = options.chromaH;
  }
  info.restart_interval = static_cast<unsigned>(options.restartInterval);
  info.arith_code = options.arithmetic ? TRUE : FALSE;
  if (options.progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  int rowBytes = image.width * image.components;
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(image.pixels.data() + info.next_scanline * rowBytes);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> out(buffer, buffer + size);
  free(buffer);
  return out;
}

Image decodeReference(const std::vector<uint8_t>& jpeg, bool accurate) {
  jpeg_decompress_struct info;
  ErrorTrap trap;
  info.err = jpeg_std_error(&trap.manager);
  trap.manager.error_exit = trapError;
  trap.manager.output_message = quietMessage;
  Image image;
  if (setjmp(trap.jump)) {
    jpeg_destroy_decompress(&info);
    return Image();
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&info, TRUE);
  info.dct_method = accurate ? JDCT_ISLOW : JDCT_IFAST;
  info.do_fancy_upsampling = FALSE;
  jpeg_start_decompress(&info);
  image.width = static_cast<int>(info.output_width);
  image.height = static_cast<int>(info.output_height);
  image.components = info.output_components;
  image.pixels.resize(static_cast<size_t>(image.width) * image.height * image.components);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = image.pixels.data() + static_cast<size_t>(info.output_scanline) * image.width * image.components;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return image;
}

Image decodeOurs(const std::vector<uint8_t>& jpeg, int* error, int acceleration) {
  Image image;
  JpegMemorySource* source = new JpegMemorySource(jpeg.data(), static_cast<int32_t>(jpeg.size()));
  JpegDecoder* decoder = new JpegDecoder(source, acceleration);
  if (!decoder->errorCode && decoder->start() == 0) {
    image.width = decoder->width;
    image.height = decoder->height;
    image.components = decoder->components;
    image.pixels.resize(static_cast<size_t>(image.width) * image.height * image.components);
    uint8_t* row = nullptr;
    int extra = 0;
    int y = 0;
    int result;
    while ((result = decoder->readRow(&row, &extra)) == 0) {
      if (y >= image.height) break;
      uint8_t* out = image.pixels.data() + static_cast<size_t>(y) * image.width * image.components;
      for (int x = 0; x < image.width; ++x)
        for (int c = 0; c < image.components; ++c) out[x * image.components + c] = row[x * decoder->pixelStride + c];
      ++y;
    }
    if (result < 0 || y != image.height) image = Image();
  }
  *error = decoder->errorCode;
  delete decoder;
  delete source;
  return image;
}

int maxDifference(const Image& a, const Image& b) {
  if (a.width != b.width || a.height != b.height || a.components != b.components || a.pixels.empty())
    return -1;
  int worst = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i) {
    int d = std::abs(int(a.pixels[i]) - int(b.pixels[i]));
    if (d > worst) worst = d;
  }
  return worst;
}

std::vector<uint8_t> readWholeFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  FILE* file = fopen(path.c_str(), "rb");
  if (!file) return bytes;
  uint8_t chunk[65536];
  size_t got;
  while ((got = fread(chunk, 1, sizeof(chunk), file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  fclose(file);
  return bytes;
}

}  // namespace jpegtest
