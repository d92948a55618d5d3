// PngImage: RGB pictures as the tools write and read them (8 bits a
// channel, top row first).
#pragma once

#include <string>
#include <vector>

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;

  unsigned char* at(int x, int y) { return &rgb[(size_t(y) * width + x) * 3]; }
  const unsigned char* at(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
};

// False (with a line on standard error) when the file cannot be written.
bool writePng(const std::string& path, const RgbImage& image);
// False when the file is missing or is not a PNG; any colour type is
// turned into 8-bit RGB.
bool readPng(const std::string& path, RgbImage* image);

// The image shrunk by `factor` in each direction, each pixel the mean of
// its factor x factor block.
RgbImage shrink(const RgbImage& image, int factor);
// Copies `part` into `into` with its top-left corner at (left, top).
void paste(const RgbImage& part, RgbImage& into, int left, int top);
