// shadow_bench: what the shadow-light effects cost on this machine's
// driver, headless in one 1280x960 window, from the built archive.
//
//   - NameBlocks (the block field): its shadow pass (advance, light turn,
//     depth pass, copy into the depth map) and its lit pass (morph at 0:
//     solids, lit and shadowed receivers, outlines, grid);
//   - ShadowedTentacles: its shadow pass (CPU points, depth pass) and its
//     lit pass (render and glow);
//
// each at 640x480 and 1280x960: median and 99th percentile. Every timed
// step ends with glFinish, so the numbers are the driver's work.
//
//   cd build/bin && shadow_bench [frames]     (default 200 per measurement)
//
// Headless needs SDL_VIDEODRIVER=offscreen.
#include <GL/glu.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "bench/BenchSupport.h"
#include "gfx/GlExtensions.h"
#include "gfx/Random.h"
#include "scenes/effects/NameBlocks.h"
#include "scenes/effects/ShadowedTentacles.h"
#include "show/ResourceRegistry.h"

namespace {

// Runs `frame` `frames` times after a tenth as many unmeasured runs; each
// frame times its two passes into the two lists.
void measure(int frames, const std::function<void(int, double*, double*)>& frame, Timing* shadow, Timing* lit) {
  double ignored[2];
  for (int i = 0; i < frames / 10 + 1; ++i) frame(i, &ignored[0], &ignored[1]);
  std::vector<double> shadowTimes, litTimes;
  for (int i = 0; i < frames; ++i) {
    double s = 0, l = 0;
    frame(i, &s, &l);
    shadowTimes.push_back(s);
    litTimes.push_back(l);
  }
  *shadow = {percentile(shadowTimes, 0.5), percentile(shadowTimes, 0.99)};
  *lit = {percentile(litTimes, 0.5), percentile(litTimes, 0.99)};
}

// Milliseconds `step` takes, finished.
double timed(const std::function<void()>& step) {
  const auto start = std::chrono::steady_clock::now();
  step();
  glFinish();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void beginFrame(int width, int height, float eyeX, float eyeY, float eyeZ) {
  glViewport(0, 0, width, height);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(60.0, double(width) / height, 1.0, 500.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  gluLookAt(eyeX, eyeY, eyeZ, 0, 0, 0, 0, 1, 0);
}

void benchBlocks(ResourceRegistry& registry, int width, int height, int frames, Timing* shadow, Timing* lit) {
  NameBlocks field(&registry);
  field.resetHeights();
  measure(frames, [&](int i, double* s, double* l) {
    const float t = float(i) / 30.0f;
    *s = timed([&] {
      field.advance(t);
      field.shadowPass(t);
    });
    beginFrame(width, height, 0, 80, 110);
    *l = timed([&] { field.morph(0.0f); });
  }, shadow, lit);
}

void benchTentacles(ResourceRegistry& registry, int width, int height, int frames, Timing* shadow, Timing* lit) {
  ShadowedTentacles ball(&registry, true, width);
  measure(frames, [&](int i, double* s, double* l) {
    // a runs through the lit flashes only: 1.5 .. 2.5 (o from 0.11 to 0.31).
    const float a = 1.5f + float(i % 30) / 30.0f;
    *s = timed([&] { ball.shadowPass(a, a * 0.3f); });
    beginFrame(width, height, 0, 0, 16);
    *l = timed([&] {
      ball.spinTo(a);
      ball.render(a);
      ball.glow(a);
    });
  }, shadow, lit);
}

void runAll(int frames) {
  std::printf("driver: %s / %s\n", reinterpret_cast<const char*>(glGetString(GL_VENDOR)),
              reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
  ResourceRegistry registry;
  registry.usePack = true;
  registry.good = 1;
  zolt::seedRandom(1);
  std::printf("| effect | size | shadow pass median ms | shadow pass p99 ms | lit pass median ms | lit pass p99 ms |\n");
  std::printf("|---|---|---|---|---|---|\n");
  const int sizes[2][2] = {{640, 480}, {1280, 960}};
  for (const auto& size : sizes) {
    Timing shadow, lit;
    benchBlocks(registry, size[0], size[1], frames, &shadow, &lit);
    std::printf("| NameBlocks | %dx%d | %.2f | %.2f | %.2f | %.2f |\n", size[0], size[1], shadow.medianMs,
                shadow.p99Ms, lit.medianMs, lit.p99Ms);
  }
  for (const auto& size : sizes) {
    Timing shadow, lit;
    benchTentacles(registry, size[0], size[1], frames, &shadow, &lit);
    std::printf("| ShadowedTentacles | %dx%d | %.2f | %.2f | %.2f | %.2f |\n", size[0], size[1], shadow.medianMs,
                shadow.p99Ms, lit.medianMs, lit.p99Ms);
  }
  std::printf("%d frames each; the depth map is %dx%d (quality on)\n", frames, 512, 512);
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(10, std::atoi(argv[1])) : 200;
  return runInBenchWindow("shadow_bench", 1280, 960, [&] { runAll(frames); });
}
