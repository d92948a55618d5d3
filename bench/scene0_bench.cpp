// scene0_bench: plays the opening scene headless from the show's archive at
// 30 frames a second of scene time and reports the frame time (render and
// finish, no swap wait) as median and worst, at 640x480 and 1280x960 side
// by side, with their ratio.
//
//   scene0_bench                 both sizes, each in a child process
//   scene0_bench <w> <h>         one size (prints "w h median worst")
//
// Run from build/bin (trov.qz5 beside it); headless needs
// SDL_VIDEODRIVER=offscreen.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "gfx/GlExtensions.h"
#include "platform/Clock.h"
#include "platform/Window.h"
#include "scenes/opening/OpeningScene.h"
#include "show/ResourceRegistry.h"

namespace {

const float kFrameRate = 30.0f;
const int kPasses = 2;  // the whole scene twice; the first pass warms caches

struct Result {
  int width = 0, height = 0;
  double medianMs = 0.0, worstMs = 0.0;
  int frames = 0;
};

bool measure(int width, int height, Result* result) {
  if (!platform::initVideo() || !platform::createWindow("scene0_bench", width, height) ||
      !platform::createContext() || !platform::makeContextCurrent()) {
    std::fprintf(stderr, "no OpenGL context\n");
    return false;
  }
  loadGlEntryPoints();
  glViewport(0, 0, width, height);
  ResourceRegistry* registry = new ResourceRegistry();
  registry->usePack = true;
  registry->width = width;
  registry->height = height;

  std::vector<double> times;
  const double frequency = double(platform::performanceFrequency());
  for (int pass = 0; pass < kPasses; ++pass) {
    OpeningScene* scene = new OpeningScene(registry);
    for (int frame = 0;; ++frame) {
      const float t = float(frame) / kFrameRate;
      const uint64_t start = platform::performanceCounter();
      const int finished = scene->render(t);
      glFinish();
      const uint64_t end = platform::performanceCounter();
      if (pass == kPasses - 1) times.push_back(double(end - start) / frequency * 1000.0);
      platform::swapBuffers();
      if (finished) break;
    }
    delete scene;
  }
  delete registry;
  platform::deleteContext();
  platform::destroyWindow();

  std::sort(times.begin(), times.end());
  result->width = width;
  result->height = height;
  result->frames = int(times.size());
  result->medianMs = times[times.size() / 2];
  result->worstMs = times.back();
  return true;
}

bool runChild(const char* self, int width, int height, Result* result) {
  const std::string command = std::string("\"") + self + "\" " + std::to_string(width) + " " + std::to_string(height);
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return false;
  int ok = std::fscanf(pipe, "%d %d %lf %lf %d", &result->width, &result->height, &result->medianMs,
                       &result->worstMs, &result->frames);
  return pclose(pipe) == 0 && ok == 5;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3) {
    Result result;
    if (!measure(std::atoi(argv[1]), std::atoi(argv[2]), &result)) return 1;
    std::printf("%d %d %.3f %.3f %d\n", result.width, result.height, result.medianMs, result.worstMs, result.frames);
    return 0;
  }
  Result small, large;
  if (!runChild(argv[0], 640, 480, &small) || !runChild(argv[0], 1280, 960, &large)) {
    std::fprintf(stderr, "a measurement failed\n");
    return 1;
  }
  std::printf("scene 0, %d frames each (30 per second of scene time)\n", small.frames);
  std::printf("%4dx%-4d  median %7.2f ms  worst %7.2f ms\n", small.width, small.height, small.medianMs, small.worstMs);
  std::printf("%4dx%-4d  median %7.2f ms  worst %7.2f ms\n", large.width, large.height, large.medianMs, large.worstMs);
  std::printf("1280x960 / 640x480: median x%.2f, worst x%.2f\n", large.medianMs / small.medianMs,
              large.worstMs / small.worstMs);
  return 0;
}
