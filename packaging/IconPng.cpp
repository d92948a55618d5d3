// IconPng: writes the show's XPM icon as a PNG at build time, for the
// desktop's icon theme (which takes PNG, not XPM).
// usage: zolt_icon_png OUTPUT
#include <png.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

#include "res/icon.xpm"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
    return 2;
  }
  // One character per pixel, colours as #rrggbb (the form the window icon reads).
  int w = 0, h = 0, colours = 0, perPixel = 0;
  if (std::sscanf(zoltIcon[0], "%d %d %d %d", &w, &h, &colours, &perPixel) != 4 || perPixel != 1) {
    std::fprintf(stderr, "icon.xpm: not one character per pixel\n");
    return 1;
  }
  std::map<char, unsigned> palette;
  for (int i = 1; i <= colours; ++i) {
    unsigned rgb = 0;
    const char* hash = std::strchr(zoltIcon[i], '#');
    if (hash != nullptr && std::sscanf(hash + 1, "%x", &rgb) == 1) palette[zoltIcon[i][0]] = rgb;
  }
  std::vector<png_byte> pixels(size_t(w) * h * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const unsigned rgb = palette[zoltIcon[1 + colours + y][x]];
      png_byte* p = &pixels[(size_t(y) * w + x) * 3];
      p[0] = rgb >> 16 & 0xff;
      p[1] = rgb >> 8 & 0xff;
      p[2] = rgb & 0xff;
    }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = w;
  image.height = h;
  image.format = PNG_FORMAT_RGB;
  if (!png_image_write_to_file(&image, argv[1], 0, pixels.data(), 0, nullptr)) {
    std::fprintf(stderr, "%s: %s\n", argv[1], image.message);
    return 1;
  }
  return 0;
}
