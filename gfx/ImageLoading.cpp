// ImageLoading: JPEG and PNG decoding into the bound texture, and the
// power-of-two and vendor tests.
#include "gfx/ImageLoading.h"

#include <png.h>

#include <cmath>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "gfx/JpegDecoder.h"
#include "gfx/JpegSource.h"

uint8_t compressNextJpeg = 0;

namespace {

// libpng pulls bytes through this cursor; it refuses to pass the end.
struct PngMemoryReader {
  const uint8_t* cursor;
  const uint8_t* end;
};

void readPngMemory(png_structp png, png_bytep out, png_size_t length) {
  PngMemoryReader* reader = static_cast<PngMemoryReader*>(png_get_io_ptr(png));
  if (length > static_cast<png_size_t>(reader->end - reader->cursor)) png_error(png, "read past the end of the entry");
  memcpy(out, reader->cursor, length);
  reader->cursor += length;
}

// Decodes every row of a started decoder into `rgb` (3 bytes a pixel).
// Grey pictures are spread to three equal bytes.
void copyRows(JpegDecoder& decoder, unsigned char* rgb) {
  uint8_t* row = nullptr;
  int extra = 0;
  const size_t rowBytes = static_cast<size_t>(decoder.width) * 3;
  for (int r = 0; r < decoder.height && decoder.readRow(&row, &extra) == 0; ++r) {
    unsigned char* out = rgb + r * rowBytes;
    for (int x = 0; x < decoder.width; ++x) {
      const uint8_t* pixel = row + x * decoder.pixelStride;
      out[3 * x] = pixel[0];
      out[3 * x + 1] = decoder.pixelStride == 1 ? pixel[0] : pixel[1];
      out[3 * x + 2] = decoder.pixelStride == 1 ? pixel[0] : pixel[2];
    }
  }
}

// Uploads level 0 of an RGB picture; a compressed upload the driver refuses
// falls back to the plain one.
void uploadRgb(GLenum target, int width, int height, const unsigned char* rgb, bool compress) {
  glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  if (compress) {
    while (glGetError() != GL_NO_ERROR) {
    }
    glTexImage2D(target, 0, GL_COMPRESSED_RGB_S3TC_DXT1_EXT, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    if (glGetError() == GL_NO_ERROR) return;
  }
  glTexImage2D(target, 0, 3, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb);
}

int uploadPng(png_structp png, int transforms) {
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return -1;
  }
  // Declared before the jump so that it survives it.
  unsigned char* volatile pixels = nullptr;
  if (setjmp(png_jmpbuf(png))) {
    free(pixels);
    png_destroy_read_struct(&png, &info, nullptr);
    return -1;
  }
  png_set_sig_bytes(png, 0);
  png_read_png(png, info, transforms, nullptr);
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colourType = 0, interlace = 0, compression = 0, filter = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, &interlace, &compression, &filter);
  int channels = png_get_channels(png, info);
  png_bytepp rows = png_get_rows(png, info);
  // Only 8-bit samples upload as they stand; palette indices are not colours.
  GLenum format = 0;
  switch (channels) {
    case 1: format = GL_LUMINANCE; break;
    case 2: format = GL_LUMINANCE_ALPHA; break;
    case 3: format = GL_RGB; break;
    case 4: format = GL_RGBA; break;
  }
  if (bitDepth != 8 || (colourType & PNG_COLOR_MASK_PALETTE) || format == 0 || !rows) {
    png_destroy_read_struct(&png, &info, nullptr);
    return -1;
  }
  size_t rowBytes = static_cast<size_t>(channels) * width;
  pixels = static_cast<unsigned char*>(calloc(rowBytes * height, 1));
  if (!pixels) {
    png_destroy_read_struct(&png, &info, nullptr);
    return -1;
  }
  for (png_uint_32 r = 0; r < height; ++r) memcpy(pixels + r * rowBytes, rows[r], rowBytes);
  GLenum target = textureTargetFor(static_cast<int>(width), static_cast<int>(height));
  glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(target, 0, static_cast<GLint>(format), static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0,
               format, GL_UNSIGNED_BYTE, pixels);
  free(pixels);
  png_destroy_read_struct(&png, &info, nullptr);
  return 0;
}

}  // namespace

bool isPowerOfTwo(int n) {
  if (n <= 0) return false;
  double exponent = std::ceil(std::log(static_cast<double>(n)) / std::log(2.0));
  return std::pow(2.0, exponent) == static_cast<double>(n);
}

bool isNvidiaVendor(const char* vendor) { return vendor && strncasecmp(vendor, "nvidia", 6) == 0; }

bool isNvidia() { return isNvidiaVendor(reinterpret_cast<const char*>(glGetString(GL_VENDOR))); }

GLenum textureTargetFor(int width, int height) {
  return isPowerOfTwo(width) && isPowerOfTwo(height) ? GL_TEXTURE_2D : GL_TEXTURE_RECTANGLE_NV;
}

int readJpegSize(JpegSource* source, int32_t* width, int32_t* height) {
  JpegDecoder* decoder = new JpegDecoder(source, 1);
  int result = -1;
  if (!decoder->errorCode) {
    *width = decoder->width;
    *height = decoder->height;
    result = 0;
  }
  delete decoder;
  return result;
}

int decodeJpegInto(JpegSource* source, unsigned char* rgb) {
  JpegDecoder* decoder = new JpegDecoder(source, 1);
  int result = -1;
  if (!decoder->errorCode && decoder->start() == 0) {
    copyRows(*decoder, rgb);
    result = decoder->errorCode ? -1 : 0;
  }
  delete decoder;
  return result;
}

int uploadJpeg(JpegSource* source, int compress) {
  compressNextJpeg = static_cast<uint8_t>(compress);
  JpegDecoder* decoder = new JpegDecoder(source, 1);
  int result = -1;
  if (!decoder->errorCode && decoder->start() == 0) {
    size_t bytes = static_cast<size_t>(decoder->width) * decoder->height * 3;
    unsigned char* rgb = static_cast<unsigned char*>(calloc(bytes, 1));
    if (rgb) {
      copyRows(*decoder, rgb);
      // A picture that broke off while decoding leaves the texture as it was.
      if (!decoder->errorCode) {
        uploadRgb(textureTargetFor(decoder->width, decoder->height), decoder->width, decoder->height, rgb,
                  compressNextJpeg != 0);
        result = 0;
      }
      free(rgb);
    }
  }
  delete decoder;
  return result;
}

int uploadPngMemory(const uint8_t* data, size_t size, int transforms) {
  if (!data) return -1;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return -1;
  PngMemoryReader reader = {data, data + size};
  png_set_read_fn(png, &reader, readPngMemory);
  return uploadPng(png, transforms);
}

int uploadPngFile(FILE* file, int transforms) {
  if (!file) return -1;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return -1;
  png_init_io(png, file);
  return uploadPng(png, transforms);
}
