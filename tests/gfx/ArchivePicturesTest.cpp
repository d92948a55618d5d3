// The pictures in the archive: decoded by our decoder exactly as
// libjpeg-turbo decodes them, every JPEG layout present, and each picture
// holding what its scene reads from it.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "JpegTestSupport.h"
#include "gfx/JpegDecoder.h"
#include "gfx/JpegSource.h"
#include "show/ResourceRegistry.h"

using jpegtest::Image;

namespace {

// Same bound as the generated corpus (see JpegDecoderTest.cpp).
const int kMaxReferenceDifference = 1;

std::vector<uint8_t> archiveEntry(const char* name) {
  ResourceRegistry registry;
  registry.usePack = true;
  unsigned char* entry = registry.readFile(name);
  if (!entry) return {};
  std::vector<uint8_t> bytes(entry, entry + registry.entrySize(name));
  delete[] entry;
  return bytes;
}

Image archiveJpeg(const char* name) {
  int error = 0;
  return jpegtest::decodeOurs(archiveEntry(name), &error);
}

// An archive PNG through libpng's simplified reader, as 8-bit RGB.
Image archivePng(const char* name, int* channels) {
  std::vector<uint8_t> bytes = archiveEntry(name);
  Image image;
  png_image png;
  memset(&png, 0, sizeof(png));
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) return image;
  *channels = PNG_IMAGE_PIXEL_CHANNELS(png.format);
  png.format = PNG_FORMAT_RGB;
  image.width = static_cast<int>(png.width);
  image.height = static_cast<int>(png.height);
  image.components = 3;
  image.pixels.resize(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) return Image();
  return image;
}

int brightness(const Image& image, int x, int y) {
  const uint8_t* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * image.components];
  int most = 0;
  for (int c = 0; c < image.components; ++c) most = std::max(most, int(p[c]));
  return most;
}

}  // namespace

TEST(ArchivePictures, DecodeLikeLibjpegAndCoverEveryLayout) {
  ResourceRegistry registry;
  registry.usePack = true;
  bool grey = false, progressive = false;
  bool colourModes[5] = {};
  int worst = 0;
  for (const char* name : {"greets.jpg", "gz.jpg", "lastEffect.jpg", "names.jpg", "scroller.jpg", "tvmask2.jpg"}) {
    SCOPED_TRACE(name);
    unsigned char* entry = registry.readFile(name);
    ASSERT_NE(entry, nullptr);
    std::vector<uint8_t> file(entry, entry + registry.entrySize(name));
    delete[] entry;
    int error = 0;
    Image ours = jpegtest::decodeOurs(file, &error);
    EXPECT_EQ(error, 0);
    int difference = jpegtest::maxDifference(ours, jpegtest::decodeReference(file));
    EXPECT_GE(difference, 0);
    EXPECT_LE(difference, kMaxReferenceDifference);
    worst = std::max(worst, difference);

    JpegMemorySource source(file.data(), static_cast<int32_t>(file.size()));
    JpegDecoder decoder(&source, 1);
    ASSERT_EQ(decoder.start(), 0);
    grey = grey || decoder.outputMode == 0;
    colourModes[decoder.outputMode] = true;
    progressive = progressive || decoder.progressive;
  }
  std::printf("largest difference to libjpeg-turbo over the archive: %d\n", worst);
  EXPECT_TRUE(grey);
  EXPECT_TRUE(progressive);
  for (int mode = 1; mode <= 4; ++mode) EXPECT_TRUE(colourModes[mode]) << "layout " << mode;
}

TEST(ArchivePictures, HaveTheSizesTheirScenesExpect) {
  struct Expected {
    const char* name;
    int width, height;
  };
  for (const Expected& e : {Expected{"tvmask2.jpg", 640, 480}, Expected{"greets.jpg", 256, 256},
                            Expected{"names.jpg", 288, 192}, Expected{"gz.jpg", 256, 256}}) {
    Image image = archiveJpeg(e.name);
    EXPECT_EQ(image.width, e.width) << e.name;
    EXPECT_EQ(image.height, e.height) << e.name;
  }
  Image scroller = archiveJpeg("scroller.jpg");
  EXPECT_EQ(scroller.width & (scroller.width - 1), 0);
  EXPECT_EQ(scroller.height & (scroller.height - 1), 0);
  Image gather = archiveJpeg("lastEffect.jpg");
  EXPECT_GT(gather.width, gather.height);
  for (const char* name : {"zoltload.png", "zolt1.png", "zolt2.png", "zoltbugs.png", "zoltcredits.png", "zoltend.png"}) {
    int channels = 0;
    Image image = archivePng(name, &channels);
    EXPECT_EQ(image.width, 640) << name;
    EXPECT_EQ(image.height, 480) << name;
  }
  int channels = 0;
  EXPECT_FALSE(archivePng("zoltsquare.png", &channels).pixels.empty());
}

TEST(ArchivePictures, LoadingPictureFramesTheProgressBar) {
  int channels = 0;
  Image load = archivePng("zoltload.png", &channels);
  ASSERT_EQ(load.width, 640);
  // The bar's own rows stay dark so the white bar reads; the frame is lit
  // just outside them.
  for (int y = 221; y <= 240; ++y)
    for (int x = 101; x <= 507; ++x) ASSERT_LT(brightness(load, x, y), 40) << x << "," << y;
  int litAbove = 0, litBelow = 0;
  for (int x = 101; x <= 507; ++x) {
    litAbove += brightness(load, x, 217) > 120;
    litBelow += brightness(load, x, 245) > 120;
  }
  EXPECT_GT(litAbove, 350);
  EXPECT_GT(litBelow, 350);
}

// The credits scene reads only the top-left 400 x 160 texels (row 0 is the
// picture's top) and lays them over the lower left of the frame: all the
// credits' light must lie there.
TEST(ArchivePictures, CreditsLieInThePartTheCreditsSceneReads) {
  int channels = 0;
  Image credits = archivePng("zoltcredits.png", &channels);
  ASSERT_EQ(credits.width, 640);
  int inside = 0, outside = 0;
  for (int y = 0; y < credits.height; ++y)
    for (int x = 0; x < credits.width; ++x)
      if (brightness(credits, x, y) > 40) ++(x < 400 && y < 160 ? inside : outside);
  EXPECT_GT(inside, 2000);
  EXPECT_EQ(outside, 0);
}

TEST(ArchivePictures, ScreenMaskIsBrightInTheMiddleDarkInTheCornersWithScanlines) {
  Image mask = archiveJpeg("tvmask2.jpg");
  ASSERT_EQ(mask.width, 640);
  EXPECT_GT(brightness(mask, 320, 240), 235);
  for (int corner : {0, 1, 2, 3}) {
    int x = corner & 1 ? 636 : 3, y = corner & 2 ? 476 : 3;
    EXPECT_LT(brightness(mask, x, y), 20) << corner;
  }
  // Odd rows a few percent darker than their neighbours.
  int darker = 0;
  for (int y = 201; y < 280; y += 2)
    darker += brightness(mask, 320, y) + 5 < (brightness(mask, 320, y - 1) + brightness(mask, 320, y + 1)) / 2;
  EXPECT_GT(darker, 30);
}

TEST(ArchivePictures, GatheringPictureIsABoldBlackWordOnWhite) {
  Image gather = archiveJpeg("lastEffect.jpg");
  ASSERT_FALSE(gather.pixels.empty());
  int black = 0, strayBlack = 0;
  for (int y = 0; y < gather.height; ++y) {
    for (int x = 0; x < gather.width; ++x) {
      if (gather.pixels[(static_cast<size_t>(y) * gather.width + x) * 3] != 0) continue;
      ++black;
      // The margins are white paper.
      if (x < 8 || x >= gather.width - 8 || y < 4 || y >= gather.height - 4) ++strayBlack;
    }
  }
  EXPECT_GT(black, gather.width * gather.height / 8);
  EXPECT_EQ(strayBlack, 0);
  EXPECT_GT(brightness(gather, 2, 2), 250);
}

TEST(ArchivePictures, GreetingsFillTheirRowsToTheCardWidths) {
  Image greets = archiveJpeg("greets.jpg");
  ASSERT_EQ(greets.width, 256);
  const int widths[8] = {75, 150, 105, 165, 90, 150, 180, 75};
  for (int row = 0; row < 8; ++row) {
    int rightmost = -1;
    for (int y = row * 21 + 3; y < row * 21 + 18; ++y)
      for (int x = 0; x < 256; ++x)
        if (brightness(greets, x, y) > 128) rightmost = std::max(rightmost, x);
    EXPECT_GT(rightmost, widths[row] - 10) << "row " << row;
    EXPECT_LT(rightmost, widths[row] + 2) << "row " << row;
  }
}
