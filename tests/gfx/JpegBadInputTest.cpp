// The JPEG decoder on the input a user may really hand it: junk before the
// image, unsupported codings, truncated and corrupted files. Every case
// must end in an error code or a picture of the right size, never a crash
// or a read outside a buffer (this file also runs under AddressSanitizer).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "JpegTestSupport.h"
#include "gfx/JpegDecoder.h"
#include "gfx/JpegSource.h"

using jpegtest::EncodeOptions;
using jpegtest::Image;

namespace {

std::vector<uint8_t> sampleFile(int components = 3, bool progressive = false, int restart = 0) {
  EncodeOptions options;
  options.components = components;
  options.progressive = progressive;
  options.restartInterval = restart;
  return jpegtest::encode(jpegtest::makeTestImage(45, 29, components, 3), options);
}

// Error code of constructing and starting a decoder on `bytes`.
int startError(const std::vector<uint8_t>& bytes) {
  JpegMemorySource source(bytes.data(), static_cast<int32_t>(bytes.size()));
  JpegDecoder decoder(&source, 1);
  if (!decoder.errorCode) decoder.start();
  return decoder.errorCode;
}

std::vector<uint8_t> withJunk(const std::vector<uint8_t>& file, size_t junk) {
  std::vector<uint8_t> bytes(junk);
  for (size_t i = 0; i < junk; ++i) bytes[i] = static_cast<uint8_t>((i * 37 + 11) & 0x7F);
  bytes.insert(bytes.end(), file.begin(), file.end());
  return bytes;
}

// Inserts a segment right after the start of image.
std::vector<uint8_t> withSegment(std::vector<uint8_t> file, std::initializer_list<uint8_t> segment) {
  file.insert(file.begin() + 2, segment);
  return file;
}

size_t findMarker(const std::vector<uint8_t>& file, uint8_t code) {
  for (size_t i = 0; i + 1 < file.size(); ++i)
    if (file[i] == 0xFF && file[i + 1] == code) return i;
  return file.size();
}

}  // namespace

TEST(JpegBadInput, JunkBeforeStartOfImageIsSearchedOnlySoFar) {
  std::vector<uint8_t> file = sampleFile();
  int error = 0;
  Image image = jpegtest::decodeOurs(withJunk(file, 200), &error);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(jpegtest::maxDifference(image, jpegtest::decodeReference(file)), 0);
  jpegtest::decodeOurs(withJunk(file, 600), &error);
  EXPECT_EQ(error, kJpegNoStartOfImage);
  jpegtest::decodeOurs({}, &error);
  EXPECT_EQ(error, kJpegNoStartOfImage);
}

TEST(JpegBadInput, UnsupportedCodingsAndLayoutsNameTheirError) {
  Image picture = jpegtest::makeTestImage(24, 16, 3, 5);
  EncodeOptions arithmetic;
  arithmetic.arithmetic = true;
  EXPECT_EQ(startError(jpegtest::encode(picture, arithmetic)), kJpegArithmetic);

  EncodeOptions cmyk;
  cmyk.components = 4;
  cmyk.h = cmyk.v = 1;
  EXPECT_EQ(startError(jpegtest::encode(jpegtest::makeTestImage(24, 16, 4, 5), cmyk)), kJpegBadComponentCount);

  EncodeOptions wide;
  wide.h = 4;
  wide.v = 1;
  EXPECT_EQ(startError(jpegtest::encode(picture, wide)), kJpegBadSampling);
  EncodeOptions subsampledChroma;
  subsampledChroma.chromaH = 2;
  EXPECT_EQ(startError(jpegtest::encode(picture, subsampledChroma)), kJpegBadSampling);

  std::vector<uint8_t> lossless = sampleFile();
  lossless[findMarker(lossless, 0xC0) + 1] = 0xC3;
  EXPECT_EQ(startError(lossless), kJpegUnsupportedFrame);
}

TEST(JpegBadInput, MalformedSegmentsNameTheirError) {
  std::vector<uint8_t> file = sampleFile();
  EXPECT_EQ(startError(withSegment(file, {0xFF, 0xDD, 0x00, 0x05, 0x00, 0x01, 0x00})), kJpegBadRestartLength);
  EXPECT_EQ(startError(withSegment(file, {0xFF, 0xE1, 0x00, 0x01})), kJpegBadMarkerLength);
  EXPECT_EQ(startError(withSegment(file, {0xFF, 0xD3})), kJpegUnexpectedMarker);
  EXPECT_EQ(startError(withSegment(file, {0xFF, 0xCC, 0x00, 0x04, 0x00, 0x00})), kJpegArithmetic);
  EXPECT_EQ(startError(withSegment(file, {0xFF, 0xD9})), kJpegUnsupportedFrame);
  // Comments, application segments and fill bytes are passed over.
  int error = 0;
  Image image = jpegtest::decodeOurs(withSegment(file, {0xFF, 0xFF, 0xFE, 0x00, 0x04, 'h', 'i'}), &error);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(image.width, 45);
}

TEST(JpegBadInput, TruncatedFilesEndInAnErrorNeverAReadPastTheEnd) {
  for (bool progressive : {false, true}) {
    std::vector<uint8_t> file = sampleFile(3, progressive, progressive ? 0 : 2);
    size_t scan = findMarker(file, 0xDA);
    for (size_t cut = 0; cut + 4 < file.size(); cut += (cut < scan ? 7 : 3)) {
      // Exactly the cut bytes, on the heap, so a read past them is caught.
      std::vector<uint8_t> part(file.begin(), file.begin() + cut);
      int error = 0;
      Image image = jpegtest::decodeOurs(part, &error);
      SCOPED_TRACE((progressive ? "progressive cut at " : "sequential cut at ") + std::to_string(cut));
      EXPECT_NE(error, 0);
      EXPECT_TRUE(image.pixels.empty());
    }
  }
}

TEST(JpegBadInput, ATruncatedSequentialImageFailsWhileReadingRows) {
  std::vector<uint8_t> file = sampleFile();
  file.resize(file.size() * 2 / 3);
  JpegMemorySource source(file.data(), static_cast<int32_t>(file.size()));
  JpegDecoder decoder(&source, 1);
  ASSERT_EQ(decoder.start(), 0);
  uint8_t* row = nullptr;
  int extra = 0;
  int result = 0;
  int rows = 0;
  while ((result = decoder.readRow(&row, &extra)) == 0) ++rows;
  EXPECT_EQ(result, kJpegDecodeFailed);
  EXPECT_LT(rows, 29);
  EXPECT_EQ(decoder.errorCode, kJpegEndOfData);
  EXPECT_EQ(decoder.source, nullptr);  // released when it gave up
  // Dead from now on.
  EXPECT_EQ(decoder.readRow(&row, &extra), -1);
  EXPECT_EQ(decoder.start(), -1);
}

TEST(JpegBadInput, CorruptedDataGivesAnErrorOrAWholePicture) {
  uint32_t state = 99;
  for (int components : {1, 3}) {
    for (bool progressive : {false, true}) {
      std::vector<uint8_t> file = sampleFile(components, progressive, progressive ? 0 : 3);
      for (int trial = 0; trial < 150; ++trial) {
        std::vector<uint8_t> bad = file;
        int flips = 1 + trial % 4;
        for (int f = 0; f < flips; ++f) {
          state = state * 1664525u + 1013904223u;
          size_t at = (state >> 8) % bad.size();
          bad[at] = static_cast<uint8_t>(bad[at] ^ (1u << ((state >> 3) & 7)) ^ (trial & 0x10 ? 0xFF : 0));
        }
        int error = 0;
        Image image = jpegtest::decodeOurs(bad, &error);
        if (error == 0) {
          EXPECT_EQ(image.height * image.width * image.components, static_cast<int>(image.pixels.size()));
          EXPECT_FALSE(image.pixels.empty());
        } else {
          EXPECT_LE(error, -200);
          EXPECT_GE(error, -233);
        }
      }
    }
  }
}

TEST(JpegBadInput, SourcesStopAtTheirEnd) {
  const uint8_t data[5] = {1, 2, 3, 4, 5};
  JpegMemorySource memory(data, 5);
  uint8_t buffer[8] = {};
  uint8_t end = 0;
  EXPECT_EQ(memory.read(buffer, 3, &end), 3);
  EXPECT_EQ(end, 0);
  EXPECT_EQ(memory.read(buffer, 8, &end), 2);
  EXPECT_EQ(end, 1);
  EXPECT_EQ(buffer[1], 5);
  EXPECT_EQ(memory.read(buffer, 8, &end), 0);

  JpegFileSource none(nullptr);
  EXPECT_EQ(none.read(buffer, 8, &end), -1);
  JpegDecoder decoder(&none, 1);
  EXPECT_EQ(decoder.errorCode, kJpegSourceError);

  std::string path = ::testing::TempDir() + "jpeg_source_test.bin";
  FILE* out = fopen(path.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  fwrite(data, 1, 5, out);
  fclose(out);
  JpegFileSource file(fopen(path.c_str(), "rb"));
  end = 0;
  EXPECT_EQ(file.read(buffer, 4, &end), 4);
  EXPECT_EQ(end, 0);
  EXPECT_EQ(file.read(buffer, 4, &end), 1);
  EXPECT_EQ(end, 1);
  EXPECT_EQ(file.atEnd, 1);
  end = 0;
  EXPECT_EQ(file.read(buffer, 4, &end), 0);
  EXPECT_EQ(end, 1);
  remove(path.c_str());
}
