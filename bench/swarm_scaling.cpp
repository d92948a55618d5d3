// swarm_scaling: how the bug swarm's frame time grows with its creature
// count. Builds scene 6 alone at 1x, 2x and 4x the numBugs of the shipped
// bug.cfg (the other keys as shipped) and plays its first beats (32 by
// default) at 30 frames a second, 640x480, timing render and glFinish.
//
//   swarm_scaling [beats]
//
// Run from build/bin (trov.qz5 beside it); headless needs
// SDL_VIDEODRIVER=offscreen.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/GlWindow.h"
#include "gfx/GlExtensions.h"
#include "platform/Audio.h"
#include "platform/Clock.h"
#include "platform/Window.h"
#include "scenes/swarm/BugSwarmScene.h"
#include "show/ResourceRegistry.h"

namespace {

double percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5))];
}

std::vector<double> play(BugSwarmScene& scene, float beats) {
  const double frequency = double(platform::performanceFrequency());
  std::vector<double> times;
  for (int frame = 0;; ++frame) {
    const float t = float(frame) / 30.0f;
    if (scene.beatsAt(t) > beats) break;
    const uint64_t start = platform::performanceCounter();
    scene.render(t);
    glFinish();
    times.push_back(double(platform::performanceCounter() - start) / frequency * 1000.0);
    platform::swapBuffers();
  }
  return times;
}

}  // namespace

int main(int argc, char** argv) {
  const float beats = argc > 1 ? float(std::atof(argv[1])) : 32.0f;
  platform::setSoundOutputWanted(false);
  if (!platform::initVideo() || !platform::createWindow("swarm scaling", 640, 480) ||
      !platform::createContext() || !platform::makeContextCurrent()) {
    std::fprintf(stderr, "no OpenGL context\n");
    return 1;
  }
  loadGlEntryPoints();
  setProjection(640, 480);
  ResourceRegistry registry;
  registry.usePack = true;
  unsigned char* text = registry.readFile("bug.cfg");
  const SwarmSettings shipped = readSwarmSettings(reinterpret_cast<const char*>(text));
  delete[] text;

  std::printf("| numBugs | x shipped | frames | median ms | p99 ms | worst ms | median ms per 100 creatures |\n");
  std::printf("|---|---|---|---|---|---|---|\n");
  for (int factor : {1, 2, 4}) {
    const int count = std::min(shipped.numBugs * factor, kMaxBugs);
    const std::string config = "numBugs = " + std::to_string(count) + "\nspeed = " + std::to_string(shipped.speed) +
                               "\ndrawCount = " + std::to_string(shipped.drawCount) +
                               "\nalpha = " + std::to_string(shipped.alpha) + "\n";
    BugSwarmScene scene(&registry, config.c_str());
    play(scene, 2.0f);  // warm-up
    BugSwarmScene measured(&registry, config.c_str());
    const std::vector<double> times = play(measured, beats);
    const double median = percentile(times, 0.5);
    std::printf("| %d | %dx | %zu | %.2f | %.2f | %.2f | %.2f |\n", count, factor, times.size(), median,
                percentile(times, 0.99), percentile(times, 1.0), median * 100.0 / count);
    std::fflush(stdout);
  }
  platform::deleteContext();
  platform::destroyWindow();
  return 0;
}
