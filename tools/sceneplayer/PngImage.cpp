// PngImage: libpng writing and reading, and the two image operations the
// tools need.
#include "tools/sceneplayer/PngImage.h"

#include <png.h>

#include <cstdio>

bool writePng(const std::string& path, const RgbImage& image) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < image.height; ++y) png_write_row(png, const_cast<png_bytep>(image.at(0, y)));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}

bool readPng(const std::string& path, RgbImage* image) {
  png_image reader{};
  reader.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&reader, path.c_str())) return false;
  reader.format = PNG_FORMAT_RGB;
  image->width = int(reader.width);
  image->height = int(reader.height);
  image->rgb.assign(PNG_IMAGE_SIZE(reader), 0);
  if (!png_image_finish_read(&reader, nullptr, image->rgb.data(), 0, nullptr)) {
    png_image_free(&reader);
    return false;
  }
  return true;
}

RgbImage shrink(const RgbImage& image, int factor) {
  RgbImage small;
  small.width = image.width / factor;
  small.height = image.height / factor;
  small.rgb.assign(size_t(small.width) * small.height * 3, 0);
  for (int y = 0; y < small.height; ++y) {
    for (int x = 0; x < small.width; ++x) {
      for (int c = 0; c < 3; ++c) {
        int sum = 0;
        for (int dy = 0; dy < factor; ++dy) {
          for (int dx = 0; dx < factor; ++dx) sum += image.at(x * factor + dx, y * factor + dy)[c];
        }
        small.at(x, y)[c] = static_cast<unsigned char>((sum + factor * factor / 2) / (factor * factor));
      }
    }
  }
  return small;
}

void paste(const RgbImage& part, RgbImage& into, int left, int top) {
  for (int y = 0; y < part.height && top + y < into.height; ++y) {
    for (int x = 0; x < part.width && left + x < into.width; ++x) {
      for (int c = 0; c < 3; ++c) into.at(left + x, top + y)[c] = part.at(x, y)[c];
    }
  }
}
