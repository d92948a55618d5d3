// targets_bench: what the render targets and the screen distortion cost on
// this machine's driver, headless in one 1280x960 window.
//
//   - the distortion pass alone (map update, frame copy, redraw), at
//     640x480 and 1280x960 side by side: median and 99th percentile;
//   - one pixel-buffer switch (makeCurrent and restore);
//   - one copy-screen (a full-size copy of the frame into its texture).
//
// Every timed GL step ends with glFinish, so the numbers are the driver's
// work, not its queueing.
//
//   targets_bench [frames]        (default 300 per measurement)
//
// Headless needs SDL_VIDEODRIVER=offscreen.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "bench/BenchSupport.h"
#include "gfx/GlExtensions.h"
#include "gfx/OffsetMap.h"
#include "gfx/PixelBuffer.h"
#include "gfx/ScreenDistortion.h"
#include "gfx/ScreenTexture.h"

namespace {

// Times `step` `frames` times after a tenth as many unmeasured runs.
Timing measure(int frames, const std::function<void(int)>& step) {
  for (int i = 0; i < frames / 10 + 1; ++i) step(i);
  std::vector<double> times;
  times.reserve(size_t(frames));
  for (int i = 0; i < frames; ++i) {
    const auto start = std::chrono::steady_clock::now();
    step(i);
    const auto end = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
  }
  return {percentile(times, 0.5), percentile(times, 0.99)};
}

// A frame worth distorting: bands of colour over the whole viewport.
void drawFrame(int width, int height) {
  glViewport(0, 0, width, height);
  glClearColor(0.1f, 0.2f, 0.3f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, width, 0, height, 0, 10);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glBegin(GL_QUADS);
  for (int band = 0; band < 16; ++band) {
    glColor3f(band / 16.0f, 1.0f - band / 16.0f, 0.5f);
    const int x0 = band * width / 16, x1 = (band + 1) * width / 16;
    glVertex2i(x0, 0);
    glVertex2i(x1, 0);
    glVertex2i(x1, height);
    glVertex2i(x0, height);
  }
  glEnd();
  glColor3f(1.0f, 1.0f, 1.0f);
  glFinish();
}

Timing distortionPass(int width, int height, int frames) {
  ScreenDistortion distortion(width, height);
  distortion.offsetMap.reset(new OffsetMap(128, 128));
  if (!distortion.nvidia) {
    distortion.offsetMap->scaleX = float(width);
    distortion.offsetMap->scaleY = float(height);
  }
  distortion.offsetMap->fade = 0.8f;
  drawFrame(width, height);
  return measure(frames, [&](int i) {
    distortion.render(float(i) / 30.0f);
    glFinish();
  });
}

// Every measurement, with the window's context current; its GL objects
// are gone when it returns.
void runAll(int frames) {
  std::printf("driver: %s / %s\n", reinterpret_cast<const char*>(glGetString(GL_VENDOR)),
              reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

  const Timing small = distortionPass(640, 480, frames);
  const Timing large = distortionPass(1280, 960, frames);

  PixelBuffer buffer(512, 512);
  buffer.create(true);
  const Timing switchOnly = measure(frames * 10, [&](int) {
    buffer.makeCurrent();
    buffer.restore();
  });
  const Timing switchWithWork = measure(frames, [&](int) {
    buffer.makeCurrent();
    glClear(GL_COLOR_BUFFER_BIT);
    buffer.restore();
    glFinish();
  });

  ScreenTexture copy512(512, 512, 0);
  ScreenTexture copy640(640, 480, 0);
  ScreenTexture copy1280(1280, 960, 0);
  drawFrame(1280, 960);
  const Timing copyIn512 = measure(frames, [&](int) {
    buffer.makeCurrent();
    copy512.copy(0, 0, 0, 0, -1, -1);
    glFinish();
    buffer.restore();
  });
  const Timing copySmall = measure(frames, [&](int) {
    copy640.copy(0, 0, 0, 0, -1, -1);
    glFinish();
  });
  const Timing copyLarge = measure(frames, [&](int) {
    copy1280.copy(0, 0, 0, 0, -1, -1);
    glFinish();
  });

  std::printf("| measurement | median ms | p99 ms |\n|---|---|---|\n");
  std::printf("| distortion pass 640x480 | %.3f | %.3f |\n", small.medianMs, small.p99Ms);
  std::printf("| distortion pass 1280x960 | %.3f | %.3f |\n", large.medianMs, large.p99Ms);
  std::printf("| pixel-buffer switch (makeCurrent + restore) | %.4f | %.4f |\n", switchOnly.medianMs,
              switchOnly.p99Ms);
  std::printf("| switch with a clear of the buffer, finished | %.3f | %.3f |\n", switchWithWork.medianMs,
              switchWithWork.p99Ms);
  std::printf("| copy-screen 512x512 in the pixel buffer (with its switch) | %.3f | %.3f |\n", copyIn512.medianMs,
              copyIn512.p99Ms);
  std::printf("| copy-screen 640x480 | %.3f | %.3f |\n", copySmall.medianMs, copySmall.p99Ms);
  std::printf("| copy-screen 1280x960 | %.3f | %.3f |\n", copyLarge.medianMs, copyLarge.p99Ms);
  std::printf("1280x960 / 640x480 distortion: median x%.2f, p99 x%.2f (%d frames each)\n",
              large.medianMs / small.medianMs, large.p99Ms / small.p99Ms, frames);
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(10, std::atoi(argv[1])) : 300;
  return runInBenchWindow("targets_bench", 1280, 960, [&] { runAll(frames); });
}
