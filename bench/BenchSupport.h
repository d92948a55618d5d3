// BenchSupport: what the GL benchmarks share — percentiles of frame
// times and the headless window they run in.
#pragma once

#include <algorithm>
#include <cstdio>
#include <vector>

#include "gfx/GlExtensions.h"
#include "platform/Window.h"

struct Timing {
  double medianMs = 0.0;
  double p99Ms = 0.0;
};

// The value at fraction p (0..1) of the sorted values; 0 for none.
inline double percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5))];
}

// Runs `body` with a window of this size and its context current; the
// process's exit status (1 without a context).
template <typename Body>
int runInBenchWindow(const char* title, int width, int height, Body&& body) {
  if (!platform::initVideo() || !platform::createWindow(title, width, height) || !platform::createContext() ||
      !platform::makeContextCurrent()) {
    std::fprintf(stderr, "no OpenGL context\n");
    return 1;
  }
  loadGlEntryPoints();
  body();
  platform::deleteContext();
  platform::destroyWindow();
  return 0;
}
