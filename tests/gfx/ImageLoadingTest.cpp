// The registry's image loaders on a real (headless) GL context: target
// choice, upload and read-back, archive versus loose files, compression
// that does not carry over, PNG channel counts and broken files.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "JpegTestSupport.h"
#include "gfx/GlExtensions.h"
#include "gfx/ImageLoading.h"
#include "show/ResourceRegistry.h"
#include "support/GlTestContext.h"

namespace {

std::string scratchDir() { return ::testing::TempDir(); }

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  fwrite(bytes.data(), 1, bytes.size(), file);
  fclose(file);
}

void writeJpeg(const std::string& name, const jpegtest::Image& image, int components = 3) {
  jpegtest::EncodeOptions options;
  options.components = components;
  options.quality = 95;
  writeBytes(scratchDir() + name, jpegtest::encode(image, options));
}

void writePng(const std::string& name, int width, int height, int channels, int bitDepth = 8) {
  static const int kTypes[] = {0, PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_GRAY_ALPHA, PNG_COLOR_TYPE_RGB,
                               PNG_COLOR_TYPE_RGB_ALPHA};
  FILE* file = fopen((scratchDir() + name).c_str(), "wb");
  ASSERT_NE(file, nullptr);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, bitDepth, kTypes[channels], PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  int bytes = bitDepth / 8;
  std::vector<uint8_t> row(static_cast<size_t>(width) * channels * bytes);
  for (int y = 0; y < height; ++y) {
    for (size_t i = 0; i < row.size(); ++i) row[i] = static_cast<uint8_t>(y * 16 + i);
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  fclose(file);
}

ResourceRegistry* looseRegistry() {
  ResourceRegistry* registry = new ResourceRegistry();
  registry->usePack = false;
  registry->rootPath = scratchDir();
  return registry;
}

GLint levelParameter(GLenum target, GLenum name) {
  GLint value = 0;
  glGetTexLevelParameteriv(target, 0, name, &value);
  return value;
}

std::vector<uint8_t> readBack(GLenum target, GLenum format, int bytes) {
  std::vector<uint8_t> pixels(static_cast<size_t>(bytes));
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(target, 0, format, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

class ImageLoading : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testsupport::ensureGlContext());
    glGenTextures(1, &texture);
  }
  void TearDown() override { glDeleteTextures(1, &texture); }
  GLuint texture = 0;
};

}  // namespace

TEST(ImageHelpers, PowerOfTwoVendorAndTargetRules) {
  EXPECT_TRUE(isPowerOfTwo(1));
  EXPECT_TRUE(isPowerOfTwo(1024));
  EXPECT_TRUE(isPowerOfTwo(512));
  EXPECT_FALSE(isPowerOfTwo(640));
  EXPECT_FALSE(isPowerOfTwo(480));
  EXPECT_FALSE(isPowerOfTwo(0));
  EXPECT_FALSE(isPowerOfTwo(-4));
  EXPECT_TRUE(isNvidiaVendor("NVIDIA Corporation"));
  EXPECT_TRUE(isNvidiaVendor("nVidia"));
  EXPECT_FALSE(isNvidiaVendor("ATI Technologies Inc."));
  EXPECT_FALSE(isNvidiaVendor("nvidi"));
  EXPECT_FALSE(isNvidiaVendor(nullptr));
  EXPECT_EQ(textureTargetFor(512, 512), static_cast<GLenum>(GL_TEXTURE_2D));
  EXPECT_EQ(textureTargetFor(640, 480), static_cast<GLenum>(GL_TEXTURE_RECTANGLE_NV));
  EXPECT_EQ(textureTargetFor(512, 480), static_cast<GLenum>(GL_TEXTURE_RECTANGLE_NV));
}

TEST_F(ImageLoading, JpegGoesToTheTargetItsSizePicksWithItsPixelsTopRowFirst) {
  struct Case {
    int width, height;
    GLenum target;
  };
  std::unique_ptr<ResourceRegistry> registry(looseRegistry());
  for (const Case& c : {Case{512, 512, GL_TEXTURE_2D}, Case{640, 480, GL_TEXTURE_RECTANGLE_NV},
                        Case{512, 480, GL_TEXTURE_RECTANGLE_NV}}) {
    jpegtest::Image image = jpegtest::makeTestImage(c.width, c.height, 3, 21);
    writeJpeg("loader.jpg", image);
    // A texture name keeps the target it was first bound to: a fresh one each.
    glDeleteTextures(1, &texture);
    glGenTextures(1, &texture);
    glBindTexture(c.target, texture);
    EXPECT_EQ(registry->loadJpegTexture("loader.jpg", 0), 0);
    EXPECT_EQ(levelParameter(c.target, GL_TEXTURE_WIDTH), c.width);
    EXPECT_EQ(levelParameter(c.target, GL_TEXTURE_HEIGHT), c.height);
    GLint filter = 0;
    glGetTexParameteriv(c.target, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR);
    // The texture holds exactly what decodeJpeg hands the caller.
    std::vector<uint8_t> rgb(static_cast<size_t>(c.width) * c.height * 3);
    ASSERT_EQ(registry->decodeJpeg("loader.jpg", rgb.data()), 0);
    EXPECT_EQ(readBack(c.target, GL_RGB, static_cast<int>(rgb.size())), rgb);
    // And that is close to the picture written, top row first.
    EXPECT_NEAR(rgb[0], image.pixels[0], 40);
    EXPECT_NEAR(rgb[rgb.size() - 2], image.pixels[rgb.size() - 2], 40);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }
}

TEST_F(ImageLoading, CompressionAskedOnceDoesNotCarryOver) {
  std::unique_ptr<ResourceRegistry> registry(looseRegistry());
  writeJpeg("square.jpg", jpegtest::makeTestImage(256, 256, 3, 2));
  glBindTexture(GL_TEXTURE_2D, texture);
  EXPECT_EQ(registry->loadJpegTexture("square.jpg", 1), 0);
  EXPECT_EQ(compressNextJpeg, 1);
  // Compressed where the driver offers DXT1, plain otherwise; never empty.
  EXPECT_EQ(levelParameter(GL_TEXTURE_2D, GL_TEXTURE_WIDTH), 256);
  GLint compressed = levelParameter(GL_TEXTURE_2D, GL_TEXTURE_COMPRESSED_ARB);
  std::printf("DXT1 upload on this driver: %s\n", compressed ? "compressed" : "fallen back to plain RGB");
  EXPECT_EQ(registry->loadJpegTexture("square.jpg", 0), 0);
  EXPECT_EQ(compressNextJpeg, 0);
  EXPECT_EQ(levelParameter(GL_TEXTURE_2D, GL_TEXTURE_COMPRESSED_ARB), 0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ImageLoading, GreyJpegsBecomeGreyRgbAndSizesComeFromTheHeader) {
  std::unique_ptr<ResourceRegistry> registry(looseRegistry());
  jpegtest::Image grey = jpegtest::makeTestImage(40, 24, 1, 8);
  writeJpeg("grey.jpg", grey, 1);
  int32_t width = 0, height = 0;
  ASSERT_EQ(registry->getJpegSize("grey.jpg", &width, &height), 0);
  EXPECT_EQ(width, 40);
  EXPECT_EQ(height, 24);
  std::vector<uint8_t> rgb(40 * 24 * 3, 7);
  ASSERT_EQ(registry->decodeJpeg("grey.jpg", rgb.data()), 0);
  for (size_t i = 0; i < rgb.size(); i += 3) {
    ASSERT_EQ(rgb[i], rgb[i + 1]);
    ASSERT_EQ(rgb[i], rgb[i + 2]);
  }
  EXPECT_NEAR(rgb[3 * 39], grey.pixels[39], 30);
}

TEST_F(ImageLoading, MissingAndBrokenFilesReportFailureAndLeaveTheTextureAlone) {
  std::unique_ptr<ResourceRegistry> registry(looseRegistry());
  int32_t width = -1, height = -1;
  EXPECT_EQ(registry->getJpegSize("no-such-picture.jpg", &width, &height), -1);
  EXPECT_EQ(width, -1);
  unsigned char rgb[12] = {};
  EXPECT_EQ(registry->decodeJpeg("no-such-picture.jpg", rgb), -1);
  glBindTexture(GL_TEXTURE_2D, texture);
  EXPECT_EQ(registry->loadJpegTexture("no-such-picture.jpg", 0), -1);
  EXPECT_EQ(registry->loadPngTexture("no-such-picture.png", 0), -1);
  std::vector<uint8_t> junk(300, 0x55);
  writeBytes(scratchDir() + "junk.jpg", junk);
  EXPECT_EQ(registry->loadJpegTexture("junk.jpg", 0), -1);
  // A picture that breaks off half way is not uploaded half black.
  jpegtest::EncodeOptions options;
  std::vector<uint8_t> half = jpegtest::encode(jpegtest::makeTestImage(64, 64, 3, 4), options);
  half.resize(half.size() * 2 / 3);
  writeBytes(scratchDir() + "half.jpg", half);
  EXPECT_EQ(registry->getJpegSize("half.jpg", &width, &height), 0);
  EXPECT_EQ(registry->loadJpegTexture("half.jpg", 0), -1);
  std::vector<unsigned char> halfRgb(64 * 64 * 3);
  EXPECT_EQ(registry->decodeJpeg("half.jpg", halfRgb.data()), -1);
  writeBytes(scratchDir() + "junk.png", junk);
  EXPECT_EQ(registry->loadPngTexture("junk.png", 0), -1);
  EXPECT_EQ(levelParameter(GL_TEXTURE_2D, GL_TEXTURE_WIDTH), 0);
  // A name too long for the show's path buffer is refused, not truncated.
  EXPECT_EQ(registry->getJpegSize(std::string(120, 'x').c_str(), &width, &height), -1);
}

TEST_F(ImageLoading, PngsUploadWithTheFormatOfTheirChannelCount) {
  std::unique_ptr<ResourceRegistry> registry(looseRegistry());
  struct Case {
    int channels;
    GLenum format;
  };
  for (const Case& c : {Case{1, GL_LUMINANCE}, Case{2, GL_LUMINANCE_ALPHA}, Case{3, GL_RGB}, Case{4, GL_RGBA}}) {
    SCOPED_TRACE(c.channels);
    writePng("channels.png", 16, 8, c.channels);
    glBindTexture(GL_TEXTURE_2D, texture);
    ASSERT_EQ(registry->loadPngTexture("channels.png", 0), 0);
    EXPECT_EQ(levelParameter(GL_TEXTURE_2D, GL_TEXTURE_WIDTH), 16);
    std::vector<uint8_t> back = readBack(GL_TEXTURE_2D, c.format, 16 * 8 * c.channels);
    EXPECT_EQ(back[0], 0);
    EXPECT_EQ(back[1], 1);
    EXPECT_EQ(back[16 * c.channels * 7 + 2], static_cast<uint8_t>(7 * 16 + 2));  // row 7 stays row 7
  }
  // A 640 x 480 PNG is a rectangle texture.
  writePng("wide.png", 640, 480, 3);
  glDeleteTextures(1, &texture);
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_RECTANGLE_NV, texture);
  ASSERT_EQ(registry->loadPngTexture("wide.png", 0), 0);
  EXPECT_EQ(levelParameter(GL_TEXTURE_RECTANGLE_NV, GL_TEXTURE_WIDTH), 640);
  // Sixteen-bit samples would upload as garbage: refused.
  writePng("deep.png", 8, 8, 3, 16);
  EXPECT_EQ(registry->loadPngTexture("deep.png", 0), -1);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ImageLoading, ArchiveModeReadsTheEntryAndNeverTheDisk) {
  ResourceRegistry registry;
  registry.usePack = true;
  registry.rootPath = "/nonexistent/";
  int32_t width = 0, height = 0;
  ASSERT_EQ(registry.getJpegSize("greets.jpg", &width, &height), 0);
  EXPECT_EQ(width, 256);
  glBindTexture(GL_TEXTURE_2D, texture);
  EXPECT_EQ(registry.loadJpegTexture("GREETS.JPG", 0), 0);  // names ignore case
  EXPECT_EQ(levelParameter(GL_TEXTURE_2D, GL_TEXTURE_WIDTH), 256);
  GLuint rectangle = 0;
  glGenTextures(1, &rectangle);
  glBindTexture(GL_TEXTURE_RECTANGLE_NV, rectangle);
  EXPECT_EQ(registry.loadPngTexture("zoltload.png", 0), 0);
  EXPECT_EQ(levelParameter(GL_TEXTURE_RECTANGLE_NV, GL_TEXTURE_WIDTH), 640);
  glDeleteTextures(1, &rectangle);
}
