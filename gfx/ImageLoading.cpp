// ImageLoading: JPEG and PNG decoding into the bound texture, and the
// power-of-two and vendor tests.
#include "gfx/ImageLoading.h"

#include <png.h>

#include <cmath>
#include <cstdio>
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

// libpng's errors and warnings, worded by libpng, on standard output with
// the picture's name (its defaults print to standard error without one).
void pngError(png_structp png, png_const_charp message) {
  std::printf("PNG error in %s: %s\n", static_cast<const char*>(png_get_error_ptr(png)), message);
  std::fflush(stdout);
  png_longjmp(png, 1);
}

void pngWarning(png_structp png, png_const_charp message) {
  std::printf("PNG warning in %s: %s\n", static_cast<const char*>(png_get_error_ptr(png)), message);
}

png_structp newPngReader(const char* name) {
  return png_create_read_struct(PNG_LIBPNG_VER_STRING, const_cast<char*>(name), pngError, pngWarning);
}

// Decodes the whole picture of a reader whose input is set up; the reader
// is destroyed either way.
bool decodePng(png_structp png, int transforms, const char* name, PngPicture& out) {
  out = PngPicture();
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    // pngError has named the picture and said why.
    png_destroy_read_struct(&png, &info, nullptr);
    out.pixels.clear();
    return false;
  }
  png_set_sig_bytes(png, 0);
  png_read_png(png, info, transforms, nullptr);
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colourType = 0, interlace = 0, compression = 0, filter = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, &interlace, &compression, &filter);
  const int channels = png_get_channels(png, info);
  png_bytepp rows = png_get_rows(png, info);
  // Only 8-bit samples upload as they stand; palette indices are not colours.
  if (bitDepth != 8 || (colourType & PNG_COLOR_MASK_PALETTE) || channels < 1 || channels > 4 || !rows) {
    std::printf("PNG picture %s not used: %d-bit %s samples\n", name, bitDepth,
                (colourType & PNG_COLOR_MASK_PALETTE) ? "palette" : "colour");
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  const size_t rowBytes = static_cast<size_t>(channels) * width;
  out.pixels.resize(rowBytes * height);
  for (png_uint_32 r = 0; r < height; ++r) memcpy(out.pixels.data() + r * rowBytes, rows[r], rowBytes);
  out.width = width;
  out.height = height;
  out.channels = channels;
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

int uploadPngPicture(const PngPicture& picture) {
  static const GLenum formats[] = {GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB, GL_RGBA};
  const GLenum format = formats[picture.channels - 1];
  const GLenum target = textureTargetFor(static_cast<int>(picture.width), static_cast<int>(picture.height));
  glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(target, 0, static_cast<GLint>(format), static_cast<GLsizei>(picture.width),
               static_cast<GLsizei>(picture.height), 0, format, GL_UNSIGNED_BYTE, picture.pixels.data());
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

bool decodePngMemory(const uint8_t* data, size_t size, int transforms, const char* name, PngPicture& out) {
  if (!name) name = "PNG picture";
  if (!data) {
    out = PngPicture();
    return false;
  }
  png_structp png = newPngReader(name);
  if (!png) return false;
  PngMemoryReader reader = {data, data + size};
  png_set_read_fn(png, &reader, readPngMemory);
  return decodePng(png, transforms, name, out);
}

int uploadPngMemory(const uint8_t* data, size_t size, int transforms, const char* name) {
  PngPicture picture;
  if (!decodePngMemory(data, size, transforms, name, picture)) return -1;
  return uploadPngPicture(picture);
}

int uploadPngFile(FILE* file, int transforms, const char* name) {
  if (!file) return -1;
  if (!name) name = "PNG file";
  png_structp png = newPngReader(name);
  if (!png) return -1;
  png_init_io(png, file);
  PngPicture picture;
  if (!decodePng(png, transforms, name, picture)) return -1;
  return uploadPngPicture(picture);
}
