// Canvas: the image painter's drawing kit — a cairo surface with the show's
// glowing-line look, lettering through FreeType with the Debian DejaVu
// fonts, and the PNG (libpng) and JPEG (libjpeg-turbo) writers with the
// sampling layouts the show's decoder reads.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

namespace painter {

struct Colour {
  double r, g, b;
};
const Colour kGreen = {0.30, 1.00, 0.40};
const Colour kWhite = {1.0, 1.0, 1.0};

// A picture being painted; pixels live in the cairo surface.
struct Canvas {
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  int width, height;
  cairo_surface_t* surface;
  cairo_t* cr;
};

void fill(Canvas& canvas, Colour colour);

// Fonts from fonts-dejavu-core, by file name ("DejaVuSans-Bold.ttf").
void useFont(Canvas& canvas, const char* fileName, double size);
// Width of `text` in the current font.
double textWidth(Canvas& canvas, const char* text);
// Puts `text` into the current path with its baseline starting at (x, y).
void textPath(Canvas& canvas, const char* text, double x, double y);

// Strokes the current path several times, wide and faint to narrow and
// bright, in `glow`, then draws the core in `core` (filled or stroked);
// the path is consumed.
void glowPath(Canvas& canvas, Colour glow, Colour core, double strength, bool fillCore);
// Glowing lettering centred on (cx, baseline).
void glowText(Canvas& canvas, const char* text, double cx, double baseline, Colour glow, Colour core,
              double strength = 1.0);
void glowLine(Canvas& canvas, double x0, double y0, double x1, double y1, Colour glow, double strength = 1.0);

// RGB bytes (or one grey byte per pixel) of the canvas, rows top first.
std::vector<uint8_t> rgbPixels(const Canvas& canvas);

enum class JpegLayout { Grey, Colour444, Colour422, Colour440, Colour420, Progressive420 };

bool writePng(const std::string& path, const std::vector<uint8_t>& pixels, int width, int height, int channels);
bool writeJpeg(const std::string& path, const std::vector<uint8_t>& pixels, int width, int height, int channels,
               JpegLayout layout, int quality, int restartInterval = 0);

}  // namespace painter
