// scene0sheet: plays the opening scene headless from the show's archive,
// frame by frame at 30 frames a second, grabs the frames at chosen beats
// and tiles them, halved, into one PNG.
//
//   scene0sheet <out.png> [columns] [beat ...]     (run from build/bin)
//   scene0sheet --frames <dir> [beat ...]          one full-size PNG per beat
//
// Depends on the platform window (offscreen without a display) and libpng.
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "gfx/GlExtensions.h"
#include "platform/Window.h"
#include "scenes/opening/OpeningScene.h"
#include "show/ResourceRegistry.h"

namespace {

const int kWidth = 640;
const int kHeight = 480;
const float kFrameRate = 30.0f;
const float kDefaultBeats[] = {1.5f, 3.5f, 5.5f, 7.5f, 9.0f, 12.0f, 15.0f, 18.5f, 22.5f, 26.5f, 29.5f, 31.9f};

struct Image {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;  // top row first
};

bool writePng(const std::string& path, const Image& image) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < image.height; ++y) {
    png_write_row(png, const_cast<png_bytep>(&image.rgb[size_t(y) * image.width * 3]));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
  return true;
}

Image readFrame() {
  Image image;
  image.width = kWidth;
  image.height = kHeight;
  std::vector<unsigned char> bottomUp(size_t(kWidth) * kHeight * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
  image.rgb.resize(bottomUp.size());
  for (int y = 0; y < kHeight; ++y) {
    std::memcpy(&image.rgb[size_t(y) * kWidth * 3], &bottomUp[size_t(kHeight - 1 - y) * kWidth * 3], size_t(kWidth) * 3);
  }
  return image;
}

// Halves a frame by averaging 2x2 blocks and places it at (left, top).
void placeHalved(const Image& frame, Image& sheet, int left, int top) {
  for (int y = 0; y < frame.height / 2; ++y) {
    for (int x = 0; x < frame.width / 2; ++x) {
      for (int c = 0; c < 3; ++c) {
        int sum = 0;
        for (int dy = 0; dy < 2; ++dy) {
          for (int dx = 0; dx < 2; ++dx) sum += frame.rgb[(size_t(2 * y + dy) * frame.width + 2 * x + dx) * 3 + c];
        }
        sheet.rgb[(size_t(top + y) * sheet.width + left + x) * 3 + c] = static_cast<unsigned char>(sum / 4);
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: scene0sheet <out.png> [columns] [beat ...]\n"
                         "       scene0sheet --frames <dir> [beat ...]\n");
    return 2;
  }
  const bool separate = std::strcmp(argv[1], "--frames") == 0;
  int next = 1;
  std::string out = argv[next++];
  if (separate) {
    if (argc < 3) return 2;
    out = argv[next++];
  }
  int columns = 4;
  if (!separate && next < argc && std::strchr(argv[next], '.') == nullptr) columns = std::max(1, std::atoi(argv[next++]));
  std::vector<float> beats;
  for (; next < argc; ++next) beats.push_back(float(std::atof(argv[next])));
  if (beats.empty()) beats.assign(std::begin(kDefaultBeats), std::end(kDefaultBeats));
  std::sort(beats.begin(), beats.end());

  if (!platform::initVideo() || !platform::createWindow("scene0sheet", kWidth, kHeight) ||
      !platform::createContext() || !platform::makeContextCurrent()) {
    std::fprintf(stderr, "no OpenGL context\n");
    return 1;
  }
  loadGlEntryPoints();
  glViewport(0, 0, kWidth, kHeight);

  ResourceRegistry* registry = new ResourceRegistry();
  registry->usePack = true;
  registry->width = kWidth;
  registry->height = kHeight;
  OpeningScene* scene = new OpeningScene(registry);

  // Every frame is played, as the recorder would, so the movies and the
  // footprint flag see the same history as in the show.
  std::vector<Image> frames;
  size_t wanted = 0;
  for (int frame = 0; wanted < beats.size(); ++frame) {
    const float t = float(frame) / kFrameRate;
    const float nextT = float(frame + 1) / kFrameRate;
    scene->render(t);
    glFinish();
    while (wanted < beats.size() && scene->secondsAtBeat(beats[wanted]) < nextT) {
      frames.push_back(readFrame());
      ++wanted;
    }
    platform::swapBuffers();
    if (t > scene->duration) break;
  }

  bool ok = true;
  if (separate) {
    for (size_t i = 0; i < frames.size(); ++i) {
      char name[64];
      std::snprintf(name, sizeof name, "/scene0_beat%05.2f.png", beats[i]);
      ok = writePng(out + name, frames[i]) && ok;
    }
  } else {
    Image sheet;
    const int rows = int((frames.size() + columns - 1) / columns);
    sheet.width = columns * kWidth / 2;
    sheet.height = rows * kHeight / 2;
    sheet.rgb.assign(size_t(sheet.width) * sheet.height * 3, 0);
    for (size_t i = 0; i < frames.size(); ++i) {
      placeHalved(frames[i], sheet, int(i % columns) * kWidth / 2, int(i / columns) * kHeight / 2);
    }
    ok = writePng(out, sheet);
  }
  delete scene;
  delete registry;
  platform::deleteContext();
  platform::destroyWindow();
  return ok ? 0 : 1;
}
