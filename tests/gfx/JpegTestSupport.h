// JpegTestSupport: libjpeg-turbo as the independent reference for the
// decoder tests and benchmarks: it writes test files in every layout and
// decodes them with its fast integer transform and plain upsampling.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace jpegtest {

struct EncodeOptions {
  int components = 3;  // 1, 3 (YCbCr) or 4 (CMYK)
  int h = 2, v = 2;    // sampling of the first component
  int chromaH = 1;     // horizontal sampling of the second component
  int quality = 90;
  bool progressive = false;
  int restartInterval = 0;  // in MCUs
  bool arithmetic = false;
};

struct Image {
  int width = 0, height = 0, components = 0;
  std::vector<uint8_t> pixels;  // rows top first, no padding
};

// A busy test picture: gradients, edges and noise from a fixed seed.
Image makeTestImage(int width, int height, int components, uint32_t seed);

std::vector<uint8_t> encode(const Image& image, const EncodeOptions& options);
// Empty image when libjpeg reports an error.
// `accurate` picks libjpeg's accurate integer transform instead.
Image decodeReference(const std::vector<uint8_t>& jpeg, bool accurate = false);
// Our decoder from memory; the error code it ended with goes to *error.
Image decodeOurs(const std::vector<uint8_t>& jpeg, int* error, int acceleration = 1);

// Largest absolute difference of any byte; -1 when the shapes differ.
int maxDifference(const Image& a, const Image& b);

std::vector<uint8_t> readWholeFile(const std::string& path);

}  // namespace jpegtest
