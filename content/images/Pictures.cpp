// Pictures: the thirteen pictures of the show's archive, painted in the
// glowing green-and-white line look, and the tool's entry point.
//
// Usage: zolt_image_painter <output folder>. Output is reproducible: no
// clocks, no random seeds other than fixed ones.
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "Canvas.h"

using namespace painter;

namespace {

const char* kBold = "DejaVuSans-Bold.ttf";
const char* kSans = "DejaVuSans.ttf";
const char* kMono = "DejaVuSansMono-Bold.ttf";
const Colour kBlack = {0, 0, 0};
const Colour kDimGreen = {0.10, 0.45, 0.16};

// A small fixed generator for sprinkled detail (never the C library's).
uint32_t sprinkle = 12345;
double nextUnit() {
  sprinkle = sprinkle * 1103515245u + 12345u;
  return ((sprinkle >> 8) & 0xFFFF) / 65535.0;
}

// A faint perspective grid, the show's floor motif.
void floorGrid(Canvas& c, double horizon, double strength) {
  for (int i = -12; i <= 12; ++i)
    glowLine(c, c.width / 2.0 + i * 14, horizon, c.width / 2.0 + i * 90, c.height + 20, kDimGreen, strength);
  for (int k = 0; k < 8; ++k) {
    double y = horizon + (c.height - horizon) * std::pow(k / 8.0, 1.8);
    glowLine(c, 0, y, c.width, y, kDimGreen, strength);
  }
}

void cornerBrackets(Canvas& c, double inset, double arm) {
  double l = inset, r = c.width - inset, t = inset, b = c.height - inset;
  const double corners[4][4] = {{l, t, 1, 1}, {r, t, -1, 1}, {l, b, 1, -1}, {r, b, -1, -1}};
  for (const auto& k : corners) {
    glowLine(c, k[0], k[1], k[0] + arm * k[2], k[1], kGreen, 0.7);
    glowLine(c, k[0], k[1], k[0], k[1] + arm * k[3], kGreen, 0.7);
  }
}

bool loadingPicture(const std::string& dir) {
  Canvas c(640, 480);
  fill(c, kBlack);
  floorGrid(c, 300, 0.5);
  useFont(c, kBold, 96);
  glowText(c, "z-olt!", 320, 170, kGreen, kWhite, 1.2);
  useFont(c, kSans, 16);
  glowText(c, "loading", 320, 285, kGreen, kWhite, 0.4);
  // The frame around the bar the show draws over pixels 101-507, rows 221-240.
  cairo_rectangle(c.cr, 96.5, 216.5, 416, 29);
  glowPath(c, kGreen, kWhite, 0.5, false);
  for (int i = 0; i <= 10; ++i) glowLine(c, 101 + i * 40.6, 250, 101 + i * 40.6, 256, kGreen, 0.3);
  // Keep the bar's own rows black so its progress reads clearly.
  cairo_rectangle(c.cr, 99, 219, 410, 24);
  cairo_set_source_rgb(c.cr, 0, 0, 0);
  cairo_fill(c.cr);
  return writePng(dir + "/zoltload.png", rgbPixels(c), 640, 480, 3);
}

bool titlePicture(const std::string& dir, const char* file, const char* big, const char* small, double bigY) {
  Canvas c(640, 480);
  fill(c, kBlack);
  useFont(c, kBold, 110);
  glowText(c, big, 320, bigY, kGreen, kWhite, 1.3);
  useFont(c, kSans, 22);
  glowText(c, small, 320, bigY + 60, kGreen, kWhite, 0.5);
  glowLine(c, 120, bigY + 22, 520, bigY + 22, kGreen, 0.6);
  // Letterbox rails with beat ticks, the show's 4/4 in lines.
  for (double y : {60.0, 420.0}) {
    glowLine(c, 40, y, 600, y, kDimGreen, 0.4);
    for (int i = 0; i <= 16; ++i) glowLine(c, 40 + i * 35, y - (i % 4 ? 4 : 9), 40 + i * 35, y, kDimGreen, 0.3);
  }
  return writePng(dir + "/" + file, rgbPixels(c), 640, 480, 3);
}

// A viewfinder over the swarm: corner brackets, a centre reticle, edge
// ticks and a label; it is added over the scene at up to 0.75.
bool bugsPicture(const std::string& dir) {
  Canvas c(640, 480);
  fill(c, kBlack);
  cornerBrackets(c, 24, 70);
  cairo_arc(c.cr, 320, 240, 46, 0, 2 * M_PI);
  glowPath(c, kDimGreen, kGreen, 0.4, false);
  for (int k = 0; k < 4; ++k) {
    double a = k * M_PI / 2;
    glowLine(c, 320 + 56 * std::cos(a), 240 + 56 * std::sin(a), 320 + 80 * std::cos(a), 240 + 80 * std::sin(a),
             kGreen, 0.5);
  }
  for (int i = 1; i < 16; ++i) {
    double x = i * 40.0, len = i % 4 == 0 ? 12 : 6;
    glowLine(c, x, 24, x, 24 + len, kDimGreen, 0.3);
    glowLine(c, x, 456 - len, x, 456, kDimGreen, 0.3);
  }
  for (int i = 1; i < 12; ++i) {
    double y = i * 40.0, len = i % 4 == 0 ? 12 : 6;
    glowLine(c, 24, y, 24 + len, y, kDimGreen, 0.3);
    glowLine(c, 616 - len, y, 616, y, kDimGreen, 0.3);
  }
  useFont(c, kBold, 34);
  glowText(c, "swarm", 540, 436, kGreen, kWhite, 0.6);
  useFont(c, kMono, 13);
  textPath(c, "trace 224-320", 44, 448);
  glowPath(c, kDimGreen, kGreen, 0.25, true);
  return writePng(dir + "/zoltbugs.png", rgbPixels(c), 640, 480, 3);
}

bool creditsPicture(const std::string& dir) {
  Canvas c(640, 480);
  fill(c, kBlack);
  // NOTE: the show reads only the top-left 400 x 160 of this picture (row 0
  // is its top) and lays it, upright, over the lower left of the frame.
  const char* lines[][2] = {{"code", "t-rov"}, {"music", "qz5"}, {"graphics", "t-rov + qz5"}};
  useFont(c, kSans, 18);
  for (int i = 0; i < 3; ++i) {
    double y = 42 + i * 36;
    textPath(c, lines[i][0], 30, y);
    glowPath(c, kDimGreen, kGreen, 0.35, true);
  }
  useFont(c, kBold, 26);
  for (int i = 0; i < 3; ++i) {
    double y = 44 + i * 36;
    textPath(c, lines[i][1], 150, y);
    glowPath(c, kGreen, kWhite, 0.5, true);
  }
  glowLine(c, 24, 14, 380, 14, kGreen, 0.5);
  glowLine(c, 24, 14, 24, 146, kGreen, 0.5);
  return writePng(dir + "/zoltcredits.png", rgbPixels(c), 640, 480, 3);
}

bool endPicture(const std::string& dir) {
  Canvas c(640, 480);
  fill(c, kBlack);
  floorGrid(c, 330, 0.6);
  cornerBrackets(c, 30, 90);
  useFont(c, kBold, 84);
  glowText(c, "z-olt!", 320, 200, kGreen, kWhite, 1.1);
  useFont(c, kSans, 24);
  glowText(c, "thanks for watching", 320, 260, kGreen, kWhite, 0.5);
  useFont(c, kSans, 16);
  glowText(c, "t-rov  +  qz5", 320, 300, kDimGreen, kGreen, 0.4);
  return writePng(dir + "/zoltend.png", rgbPixels(c), 640, 480, 3);
}

bool squarePicture(const std::string& dir) {
  Canvas c(256, 256);
  fill(c, kBlack);
  cairo_rectangle(c.cr, 28.5, 28.5, 199, 199);
  glowPath(c, kGreen, kWhite, 0.6, false);
  useFont(c, kBold, 64);
  glowText(c, "zolt", 128, 150, kGreen, kWhite, 0.8);
  // RGBA: opaque where lit, clear where black, for additive or blended use.
  std::vector<uint8_t> rgb = rgbPixels(c);
  std::vector<uint8_t> rgba(256 * 256 * 4);
  for (size_t i = 0; i < 256 * 256; ++i) {
    uint8_t lit = std::max(rgb[3 * i], std::max(rgb[3 * i + 1], rgb[3 * i + 2]));
    for (int k = 0; k < 3; ++k) rgba[4 * i + k] = rgb[3 * i + k];
    rgba[4 * i + 3] = lit;
  }
  return writePng(dir + "/zoltsquare.png", rgba, 256, 256, 4);
}

// The screen mask: near white in the middle, darkening towards rounded
// corners, with faint scanlines.
bool maskPicture(const std::string& dir) {
  const int w = 640, h = 480;
  std::vector<uint8_t> rgb(w * h * 3);
  // The glass's rounded edge lies a little outside the picture, so the
  // sides only dim while the corners go dark.
  const double radius = 110, bleed = 10, halfW = w / 2.0 + bleed, halfH = h / 2.0 + bleed;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      // Distance inside the rounded rectangle of the screen's edge.
      double dx = std::fabs(x + 0.5 - w / 2.0) - (halfW - radius);
      double dy = std::fabs(y + 0.5 - h / 2.0) - (halfH - radius);
      double outside = std::hypot(std::max(dx, 0.0), std::max(dy, 0.0)) + std::min(std::max(dx, dy), 0.0);
      double edge = -(outside - radius);  // pixels from the rounded edge
      double t = std::min(1.0, std::max(0.0, edge / 64.0));
      double shade = t * t * (3.0 - 2.0 * t);  // smooth, no visible rim
      double cx = (x - w / 2.0) / (w / 2.0), cy = (y - h / 2.0) / (h / 2.0);
      double centre = 1.0 - 0.06 * (cx * cx + cy * cy);
      double scan = (y % 2) ? 0.93 : 1.0;
      double v = 255.0 * shade * centre * scan;
      uint8_t g = static_cast<uint8_t>(std::lround(std::min(255.0, std::max(0.0, v))));
      uint8_t* p = &rgb[(y * w + x) * 3];
      // A whisper of green in the glass.
      p[0] = static_cast<uint8_t>(g * 0.97);
      p[1] = g;
      p[2] = static_cast<uint8_t>(g * 0.97);
    }
  }
  return writeJpeg(dir + "/tvmask2.jpg", rgb, w, h, 3, JpegLayout::Colour420, 92, 8);
}

// Eight greetings, one per 21-texel row, each filling its row's width.
bool greetsPicture(const std::string& dir) {
  Canvas c(256, 256);
  fill(c, kBlack);
  const char* names[8] = {"zlib", "libpng", "lib3ds", "SDL2 mixer", "cairo", "FreeType", "libjpeg-turbo", "Mesa"};
  const int widths[8] = {75, 150, 105, 165, 90, 150, 180, 75};
  for (int row = 0; row < 8; ++row) {
    useFont(c, kBold, 15);
    double natural = textWidth(c, names[row]);
    cairo_save(c.cr);
    // Stretch to the card's width, keeping a two-texel margin.
    cairo_translate(c.cr, 2, row * 21 + 16);
    cairo_scale(c.cr, (widths[row] - 4) / natural, 1.0);
    textPath(c, names[row], 0, 0);
    cairo_restore(c.cr);
    glowPath(c, kGreen, kWhite, 0.18, true);
  }
  return writeJpeg(dir + "/greets.jpg", rgbPixels(c), 256, 256, 3, JpegLayout::Colour422, 92);
}

// Block tops: one glowing letter per 32 x 48 cell, 9 across and 4 down,
// the cells starting three texels up and left of the image.
bool namesPicture(const std::string& dir) {
  Canvas c(288, 192);
  fill(c, {0.02, 0.08, 0.03});
  const char* rows[4] = {" Z-OLT!  ", "T-ROV QZ5", "CODE+GFX ", "SOUND 130"};
  useFont(c, kMono, 34);
  for (int r = 0; r < 4; ++r) {
    for (int k = 0; k < 9; ++k) {
      double left = k * 32 - 3, top = r * 48 - 3;
      cairo_rectangle(c.cr, left + 2.5, top + 2.5, 27, 43);
      glowPath(c, kDimGreen, kDimGreen, 0.15, false);
      char letter[2] = {rows[r][k], 0};
      if (letter[0] != ' ') glowText(c, letter, left + 16, top + 36, kGreen, kWhite, 0.35);
    }
  }
  return writeJpeg(dir + "/names.jpg", rgbPixels(c), 288, 192, 3, JpegLayout::Colour440, 92);
}

// The floor of the block field: a glowing tile grid, greyscale.
bool floorPicture(const std::string& dir) {
  Canvas c(256, 256);
  fill(c, {0.05, 0.05, 0.05});
  for (int i = 0; i <= 8; ++i) {
    glowLine(c, i * 32, 0, i * 32, 256, kWhite, 0.35);
    glowLine(c, 0, i * 32, 256, i * 32, kWhite, 0.35);
  }
  for (int i = 0; i < 80; ++i) {
    cairo_arc(c.cr, nextUnit() * 256, nextUnit() * 256, 0.8, 0, 2 * M_PI);
    glowPath(c, kWhite, kWhite, 0.15, true);
  }
  return writeJpeg(dir + "/gz.jpg", rgbPixels(c), 256, 256, 3, JpegLayout::Grey, 90);
}

// Where the creatures gather: a bold word, pure black on white, hard edged.
bool gatherPicture(const std::string& dir) {
  Canvas c(256, 96);
  fill(c, kWhite);
  cairo_set_antialias(c.cr, CAIRO_ANTIALIAS_NONE);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
  cairo_set_font_options(c.cr, options);
  cairo_font_options_destroy(options);
  useFont(c, kBold, 72);
  textPath(c, "zolt", 128 - textWidth(c, "zolt") / 2, 74);
  cairo_set_source_rgb(c.cr, 0, 0, 0);
  cairo_fill(c.cr);
  return writeJpeg(dir + "/lastEffect.jpg", rgbPixels(c), 256, 96, 3, JpegLayout::Colour444, 98);
}

// The scroller: the grid shows about the left half (0.54 of the width at
// the most), so the lettering sits there; the right half trails off.
bool scrollerPicture(const std::string& dir) {
  Canvas c(512, 128);
  fill(c, kBlack);
  useFont(c, kBold, 58);
  textPath(c, "z-olt!", 14, 66);
  glowPath(c, kGreen, kWhite, 0.6, true);
  useFont(c, kSans, 26);
  textPath(c, "130 bpm of wire", 16, 106);
  glowPath(c, kGreen, kWhite, 0.35, true);
  for (int i = 0; i < 6; ++i) glowLine(c, 290 + i * 36, 64, 310 + i * 36, 64, kDimGreen, 0.4 - i * 0.05);
  return writeJpeg(dir + "/scroller.jpg", rgbPixels(c), 512, 128, 3, JpegLayout::Progressive420, 85);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  bool ok = loadingPicture(dir) &&
            titlePicture(dir, "zolt1.png", "t-rov", "and qz5 present", 230) &&
            titlePicture(dir, "zolt2.png", "z-olt!", "130 beats per minute of wire", 250) && bugsPicture(dir) &&
            creditsPicture(dir) && endPicture(dir) && squarePicture(dir) && maskPicture(dir) && greetsPicture(dir) &&
            namesPicture(dir) && floorPicture(dir) && gatherPicture(dir) && scrollerPicture(dir);
  if (!ok) {
    std::fprintf(stderr, "image painter: could not write the pictures into %s\n", dir.c_str());
    return 1;
  }
  return 0;
}
