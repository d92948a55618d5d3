// AssetLoader: what the graphics toolkit asks of whoever holds the show's
// assets. The registry answers from the archive or from loose files; the
// toolkit only ever sees names.
#pragma once

#include <cstdint>

struct Lib3dsFile;

class AssetLoader {
 public:
  // Upload into the texture bound on the target the image's size picks
  // (2D for powers of two, rectangle otherwise); 0 on success.
  virtual int loadJpegTexture(const char* name, int compress) = 0;
  virtual int getJpegSize(const char* name, int32_t* width, int32_t* height) = 0;
  virtual int decodeJpeg(const char* name, unsigned char* rgb) = 0;
  // 0 on success, -1 when nothing was uploaded.
  virtual int loadPngTexture(const char* name, int transforms) = 0;
  // The model, or null after the loader's message.
  virtual Lib3dsFile* load3ds(const char* name) = 0;

 protected:
  ~AssetLoader() = default;
};
