// Broken PNG entries in memory: libpng's error unwinds to the loader, which
// reports failure; the memory reader never reads past the entry. No GL is
// touched on these paths, so this also runs under AddressSanitizer.
#include <gtest/gtest.h>
#include <png.h>

#include <string>
#include <vector>

#include "gfx/ImageLoading.h"

namespace {

// A small valid RGB PNG, written to memory.
std::vector<uint8_t> smallPng() {
  std::vector<uint8_t> bytes;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(
      png, &bytes,
      [](png_structp p, png_bytep data, png_size_t length) {
        auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
        out->insert(out->end(), data, data + length);
      },
      nullptr);
  png_set_IHDR(png, info, 32, 32, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<uint8_t> row(32 * 3);
  for (int y = 0; y < 32; ++y) {
    for (size_t i = 0; i < row.size(); ++i) row[i] = static_cast<uint8_t>(i * 7 + y * 13);
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return bytes;
}

}  // namespace

TEST(PngBadInput, TruncatedOrCorruptEntriesFailCleanly) {
  std::vector<uint8_t> whole = smallPng();
  ASSERT_GT(whole.size(), 100u);
  for (size_t cut : {size_t(1), size_t(8), size_t(40), whole.size() / 2, whole.size() - 1}) {
    // Exactly `cut` bytes on the heap: the reader must stop at the bound.
    std::vector<uint8_t> part(whole.begin(), whole.begin() + cut);
    EXPECT_EQ(uploadPngMemory(part.data(), cut, 0), -1) << cut;
  }
  std::vector<uint8_t> corrupt = whole;
  for (size_t i = 60; i + 20 < corrupt.size(); i += 7) corrupt[i] ^= 0x5A;
  EXPECT_EQ(uploadPngMemory(corrupt.data(), corrupt.size(), 0), -1);
  EXPECT_EQ(uploadPngMemory(nullptr, 10, 0), -1);
}

// libpng's own words reach standard output with the entry's name in front,
// and nothing goes to standard error (libpng's default) where a headless
// log would lose which picture it meant.
TEST(PngBadInput, LibpngMessagesNameTheEntry) {
  std::vector<uint8_t> corrupt = smallPng();
  corrupt[20] ^= 0x01;  // inside IHDR: its CRC no longer matches
  PngPicture picture;
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_FALSE(decodePngMemory(corrupt.data(), corrupt.size(), 0, "zoltload.png", picture));
  const std::string out = testing::internal::GetCapturedStdout();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(out.find("PNG error in zoltload.png: IHDR: CRC error"), std::string::npos) << out;
  EXPECT_EQ(err, "");
  EXPECT_TRUE(picture.pixels.empty());

  std::vector<uint8_t> whole = smallPng();
  ASSERT_TRUE(decodePngMemory(whole.data(), whole.size(), 0, "zolt1.png", picture));
  EXPECT_EQ(picture.width, 32u);
  EXPECT_EQ(picture.channels, 3);
  EXPECT_EQ(picture.pixels.size(), 32u * 32u * 3u);
  EXPECT_EQ(picture.pixels[3 * 33], static_cast<uint8_t>(3 * 7 + 13));
}
