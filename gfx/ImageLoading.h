// ImageLoading: the toolkit's shared image helpers and the loader steps
// behind the registry's JPEG and PNG operations.
//
// The registry operations (loadJpegTexture, getJpegSize, decodeJpeg,
// loadPngTexture, defined in TextureLoading.cpp) pick where the bytes come
// from; the functions here decode them and upload into the texture bound
// on the target the size picks. They never generate or bind texture names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "gfx/GlExtensions.h"

class JpegSource;

// Set by every JPEG-to-texture call from its compress argument and read by
// that call's upload: 1 asks for a DXT1-compressed texture.
extern uint8_t compressNextJpeg;

// True when 2 raised to ceil(ln n / ln 2) equals n (1 counts; n <= 0 not).
bool isPowerOfTwo(int n);
// True when the GL vendor string starts with "nvidia", case ignored.
bool isNvidia();
bool isNvidiaVendor(const char* vendor);
// GL_TEXTURE_2D when both sides are powers of two, else the rectangle target.
GLenum textureTargetFor(int width, int height);

// JPEG steps on a source the caller made; the caller destroys the source.
// Each returns 0 on success, -1 on failure.
int uploadJpeg(JpegSource* source, int compress);
int readJpegSize(JpegSource* source, int32_t* width, int32_t* height);
int decodeJpegInto(JpegSource* source, unsigned char* rgb);

// A decoded PNG: 8-bit samples, `channels` (1 to 4) a pixel, top row first.
struct PngPicture {
  uint32_t width = 0;
  uint32_t height = 0;
  int channels = 0;
  std::vector<unsigned char> pixels;
};

// Decodes PNG bytes (reads never go past `size`); false when they are not a
// picture the show can upload, after a line on standard output that names
// `name` and says why (libpng's own words where libpng refuses).
bool decodePngMemory(const uint8_t* data, size_t size, int transforms, const char* name, PngPicture& out);

// PNG from memory or from an open file into the bound texture. 0 on
// success, -1 when the file is not a PNG we can upload (said as above).
int uploadPngMemory(const uint8_t* data, size_t size, int transforms, const char* name = nullptr);
int uploadPngFile(FILE* file, int transforms, const char* name = nullptr);
