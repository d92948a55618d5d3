// Headless captures of what a viewer sees around the scenes: the loading
// screen with its progress bar over "zoltload.png", and a show frame
// multiplied by the screen mask "tvmask2.jpg". The frames are checked here
// and written as PNG into the output folder's captures/ for a person to
// look at.
#include <gtest/gtest.h>
#include <png.h>

#include <string>
#include <sys/stat.h>
#include <vector>

#include "gfx/GlExtensions.h"
#include "show/Scene.h"
#include "show/Demo.h"
#include "show/LoadingScreen.h"
#include "show/ResourceRegistry.h"
#include "support/GlTestContext.h"

namespace {

struct Frame {
  int width = 640, height = 480;
  std::vector<unsigned char> rgb;  // top row first
  int at(int x, int y, int channel) const { return rgb[(static_cast<size_t>(y) * width + x) * 3 + channel]; }
};

Frame grab(GLenum buffer) {
  Frame frame;
  frame.rgb.resize(640 * 480 * 3);
  std::vector<unsigned char> bottomUp(frame.rgb.size());
  glReadBuffer(buffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
  for (int y = 0; y < 480; ++y)
    std::copy_n(&bottomUp[static_cast<size_t>(479 - y) * 640 * 3], 640 * 3, &frame.rgb[static_cast<size_t>(y) * 640 * 3]);
  glReadBuffer(GL_BACK);
  return frame;
}

void save(const Frame& frame, const char* name) {
  std::string dir = std::string(ZOLT_OUTPUT_DIR) + "/captures";
  mkdir(dir.c_str(), 0755);
  FILE* file = fopen((dir + "/" + name).c_str(), "wb");
  if (!file) return;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, 640, 480, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < 480; ++y) png_write_row(png, const_cast<png_bytep>(&frame.rgb[static_cast<size_t>(y) * 640 * 3]));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  fclose(file);
}

// The progress frames shown while scenes load, grabbed as each scene is made.
std::vector<Frame>* progressFrames = nullptr;

// A scene that draws the show's kind of picture: a bright field with
// glowing green lines, so the mask's darkening and scanlines show.
class LinesScene : public Scene {
 public:
  explicit LinesScene(ResourceRegistry* registry) : Scene(registry) { duration = 100.0f; }
  int render(float) override {
    glClearColor(0.85f, 0.95f, 0.85f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 640, 0, 480, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glLineWidth(3.0f);
    glColor4f(0.1f, 0.6f, 0.2f, 1.0f);
    glBegin(GL_LINES);
    for (int i = 0; i <= 16; ++i) {
      glVertex2f(i * 40.0f, 0.0f);
      glVertex2f(320.0f + (i - 8) * 10.0f, 480.0f);
    }
    glEnd();
    return 0;
  }
};

Scene* makeLinesScene(ResourceRegistry* registry) {
  if (progressFrames) progressFrames->push_back(grab(GL_FRONT));
  return new LinesScene(registry);
}

}  // namespace

TEST(ShowCapture, LoadingScreenShowsThePictureAndAGrowingBarThenMaskedFrames) {
  ASSERT_TRUE(testsupport::ensureGlContext());
  glViewport(0, 0, 640, 480);
  ResourceRegistry* registry = new ResourceRegistry();
  registry->usePack = true;
  ShowOrder order;
  for (auto& slot : order.slot) slot = makeLinesScene;
  std::vector<Frame> frames;
  progressFrames = &frames;
  Demo demo(registry, order);
  runLoadingSequence(demo, -1, 0);
  progressFrames = nullptr;
  ASSERT_GE(frames.size(), 7u);

  // Scenes 5, 6 and 0 are made behind the empty bar (progress 0, one tenth
  // drawn); scene 1 behind progress 1 + 9/11 (to pixel 215); the finale
  // behind 5 + 9/11, on the way to the end of the frame at 507.
  ASSERT_EQ(frames.size(), 8u);
  const Frame& early = frames[3];
  const Frame& late = frames.back();
  save(early, "loading-early.png");
  save(late, "loading-late.png");
  auto white = [](const Frame& f, int x, int y) { return f.at(x, y, 0) > 240 && f.at(x, y, 1) > 240 && f.at(x, y, 2) > 240; };
  EXPECT_TRUE(white(early, 110, 230));
  EXPECT_TRUE(white(early, 160, 225));
  EXPECT_FALSE(white(early, 400, 230));
  EXPECT_TRUE(white(late, 400, 230));
  EXPECT_FALSE(white(late, 110, 200));  // above the bar: the picture, not the bar
  // The picture itself: its green lettering above the bar.
  int green = 0;
  for (int y = 60; y < 200; ++y)
    for (int x = 0; x < 640; ++x) green += late.at(x, y, 1) > 200 && late.at(x, y, 0) < 200;
  EXPECT_GT(green, 500);

  // A show frame: the scene's picture multiplied by the mask.
  demo.useCaptureClock();
  ASSERT_EQ(demo.render(0.5f), 0);
  Frame masked = grab(GL_BACK);
  save(masked, "masked-frame.png");
  EXPECT_GT(masked.at(300, 240, 1), 200);   // the middle keeps its light
  EXPECT_LT(masked.at(2, 2, 1), 20);        // rounded corners go dark
  EXPECT_LT(masked.at(637, 477, 1), 20);
  int scanlines = 0;
  for (int y = 201; y < 280; y += 2) {
    int line = masked.at(150, y, 1), neighbours = (masked.at(150, y - 1, 1) + masked.at(150, y + 1, 1)) / 2;
    scanlines += line + 4 < neighbours || neighbours + 4 < line;
  }
  EXPECT_GT(scanlines, 30);
}
