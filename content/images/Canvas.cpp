// Canvas: cairo + FreeType drawing and the PNG/JPEG writers.
#include "Canvas.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <jpeglib.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <map>

namespace painter {

namespace {

const char* kFontDir = "/usr/share/fonts/truetype/dejavu/";

// Fonts stay loaded for the life of the tool.
cairo_font_face_t* fontFace(const char* fileName) {
  static FT_Library library = nullptr;
  static std::map<std::string, cairo_font_face_t*> faces;
  auto found = faces.find(fileName);
  if (found != faces.end()) return found->second;
  if (!library && FT_Init_FreeType(&library) != 0) return nullptr;
  FT_Face face = nullptr;
  std::string path = std::string(kFontDir) + fileName;
  if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
    std::fprintf(stderr, "image painter: cannot load font %s\n", path.c_str());
    return nullptr;
  }
  cairo_font_face_t* cairoFace = cairo_ft_font_face_create_for_ft_face(face, 0);
  faces[fileName] = cairoFace;
  return cairoFace;
}

}  // namespace

Canvas::Canvas(int w, int h) : width(w), height(h) {
  surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  cr = cairo_create(surface);
}

Canvas::~Canvas() {
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

void fill(Canvas& canvas, Colour colour) {
  cairo_set_source_rgb(canvas.cr, colour.r, colour.g, colour.b);
  cairo_paint(canvas.cr);
}

void useFont(Canvas& canvas, const char* fileName, double size) {
  cairo_font_face_t* face = fontFace(fileName);
  if (face) cairo_set_font_face(canvas.cr, face);
  cairo_set_font_size(canvas.cr, size);
}

double textWidth(Canvas& canvas, const char* text) {
  cairo_text_extents_t extents;
  cairo_text_extents(canvas.cr, text, &extents);
  return extents.x_advance;
}

void textPath(Canvas& canvas, const char* text, double x, double y) {
  cairo_move_to(canvas.cr, x, y);
  cairo_text_path(canvas.cr, text);
}

void glowPath(Canvas& canvas, Colour glow, Colour core, double strength, bool fillCore) {
  cairo_t* cr = canvas.cr;
  cairo_path_t* path = cairo_copy_path(cr);
  cairo_new_path(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
  // Wide and faint to narrow and bright: the additive passes of the show.
  const double widths[] = {18, 12, 8, 5, 3};
  const double alphas[] = {0.05, 0.08, 0.14, 0.25, 0.5};
  for (int i = 0; i < 5; ++i) {
    cairo_append_path(cr, path);
    cairo_set_line_width(cr, widths[i] * strength);
    cairo_set_source_rgba(cr, glow.r, glow.g, glow.b, alphas[i]);
    cairo_stroke(cr);
  }
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  cairo_append_path(cr, path);
  cairo_set_source_rgb(cr, core.r, core.g, core.b);
  if (fillCore) {
    cairo_fill(cr);
  } else {
    cairo_set_line_width(cr, 1.5 * strength);
    cairo_stroke(cr);
  }
  cairo_path_destroy(path);
}

void glowText(Canvas& canvas, const char* text, double cx, double baseline, Colour glow, Colour core,
              double strength) {
  textPath(canvas, text, cx - textWidth(canvas, text) / 2, baseline);
  glowPath(canvas, glow, core, strength, true);
}

void glowLine(Canvas& canvas, double x0, double y0, double x1, double y1, Colour glow, double strength) {
  cairo_move_to(canvas.cr, x0, y0);
  cairo_line_to(canvas.cr, x1, y1);
  glowPath(canvas, glow, kWhite, strength * 0.6, false);
}

std::vector<uint8_t> rgbPixels(const Canvas& canvas) {
  cairo_surface_flush(canvas.surface);
  const unsigned char* data = cairo_image_surface_get_data(canvas.surface);
  int stride = cairo_image_surface_get_stride(canvas.surface);
  std::vector<uint8_t> rgb(static_cast<size_t>(canvas.width) * canvas.height * 3);
  for (int y = 0; y < canvas.height; ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(data + y * stride);
    for (int x = 0; x < canvas.width; ++x) {
      uint32_t p = row[x];
      uint8_t* out = &rgb[(static_cast<size_t>(y) * canvas.width + x) * 3];
      out[0] = static_cast<uint8_t>(p >> 16);
      out[1] = static_cast<uint8_t>(p >> 8);
      out[2] = static_cast<uint8_t>(p);
    }
  }
  return rgb;
}

bool writePng(const std::string& path, const std::vector<uint8_t>& pixels, int width, int height, int channels) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  static const int kTypes[] = {0, PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_GRAY_ALPHA, PNG_COLOR_TYPE_RGB,
                               PNG_COLOR_TYPE_RGB_ALPHA};
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, kTypes[channels],
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 9);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y)
    png_write_row(png, const_cast<png_bytep>(&pixels[static_cast<size_t>(y) * width * channels]));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}

bool writeJpeg(const std::string& path, const std::vector<uint8_t>& pixels, int width, int height, int channels,
               JpegLayout layout, int quality, int restartInterval) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = channels;
  info.in_color_space = channels == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  if (layout == JpegLayout::Grey && channels == 3) jpeg_set_colorspace(&info, JCS_GRAYSCALE);
  jpeg_set_quality(&info, quality, TRUE);
  info.write_JFIF_header = TRUE;
  if (layout != JpegLayout::Grey) {
    static const int kSampling[][2] = {{1, 1}, {1, 1}, {2, 1}, {1, 2}, {2, 2}, {2, 2}};
    int index = static_cast<int>(layout);
    info.comp_info[0].h_samp_factor = kSampling[index][0];
    info.comp_info[0].v_samp_factor = kSampling[index][1];
  }
  info.restart_interval = static_cast<unsigned>(restartInterval);
  info.optimize_coding = TRUE;
  if (layout == JpegLayout::Progressive420) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&pixels[static_cast<size_t>(info.next_scanline) * width * channels]);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return std::fclose(file) == 0;
}

}  // namespace painter
