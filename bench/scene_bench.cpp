// scene_bench: plays one scene headless at 30 frames a second of scene time
// and reports its frame time (render and finish, no swap wait) at 640x480
// and 1280x960 side by side: median, 99th percentile and worst, the line
// segments (GL primitives) drawn per frame, and the process's peak memory;
// then each size's five slowest frames with their beats and segments, so a
// spike can be named. Each size runs in a child process of its own, twice
// through the scene (the first pass warms caches and is not counted).
//
//   scene_bench <scene>            both sizes
//   scene_bench <scene> <w> <h>    one size: one machine-readable line, then
//                                  one line per slowest frame (ms beat segments)
//   scene_bench <scene> --floor    640x480: the frame times beside the raster
//                                  floor, each frame's primitives drawn again
//                                  alone from a display list (see ScenePlayer)
//
// Run from build/bin (trov.qz5 beside it); headless needs
// SDL_VIDEODRIVER=offscreen.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/sceneplayer/ScenePlayer.h"

namespace {

const float kFrameRate = 30.0f;
const int kPasses = 2;
const int kSlowest = 5;

struct Frame {
  double ms = 0.0;
  float beat = 0.0f;
  double segments = 0.0;
};

struct Result {
  int width = 0, height = 0, frames = 0;
  double medianMs = 0.0, p99Ms = 0.0, worstMs = 0.0;
  double medianSegments = 0.0, maxSegments = 0.0;
  double peakMb = 0.0;
  std::vector<Frame> slowest;  // slowest first
};

double percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const size_t index = std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5));
  return values[index];
}

bool measure(int scene, int width, int height, Result* result) {
  std::vector<double> times, segments;
  std::vector<Frame> frames;
  for (int pass = 0; pass < kPasses; ++pass) {
    ScenePlayer player;
    if (!player.open(scene, width, height)) {
      std::fprintf(stderr, "%s\n", player.error.c_str());
      return false;
    }
    player.play(kFrameRate, 1e9f, [&](const PlayedFrame& frame) {
      if (pass == kPasses - 1) {
        times.push_back(frame.renderMs);
        segments.push_back(double(frame.primitives));
        frames.push_back({frame.renderMs, frame.beat, double(frame.primitives)});
      }
      return true;
    });
  }
  result->width = width;
  result->height = height;
  result->frames = int(times.size());
  result->medianMs = percentile(times, 0.5);
  result->p99Ms = percentile(times, 0.99);
  result->worstMs = percentile(times, 1.0);
  result->medianSegments = percentile(segments, 0.5);
  result->maxSegments = percentile(segments, 1.0);
  result->peakMb = peakResidentMegabytes();
  const size_t slowest = std::min(frames.size(), size_t(kSlowest));
  std::partial_sort(frames.begin(), frames.begin() + long(slowest), frames.end(),
                    [](const Frame& a, const Frame& b) { return a.ms > b.ms; });
  result->slowest.assign(frames.begin(), frames.begin() + long(slowest));
  return !times.empty();
}

bool runChild(const char* self, int scene, int width, int height, Result* result) {
  const std::string command = std::string("\"") + self + "\" " + std::to_string(scene) + " " +
                              std::to_string(width) + " " + std::to_string(height);
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return false;
  const int read = std::fscanf(pipe, "%d %d %d %lf %lf %lf %lf %lf %lf", &result->width, &result->height,
                               &result->frames, &result->medianMs, &result->p99Ms, &result->worstMs,
                               &result->medianSegments, &result->maxSegments, &result->peakMb);
  Frame frame;
  while (std::fscanf(pipe, "%lf %f %lf", &frame.ms, &frame.beat, &frame.segments) == 3) {
    result->slowest.push_back(frame);
  }
  return pclose(pipe) == 0 && read == 9;
}

void printRow(int scene, const Result& r) {
  std::printf("| %d | %dx%d | %d | %.2f | %.2f | %.2f | %.0f | %.0f | %.0f |\n", scene, r.width, r.height, r.frames,
              r.medianMs, r.p99Ms, r.worstMs, r.medianSegments, r.maxSegments, r.peakMb);
}

void printSlowest(const Result& r) {
  std::printf("slowest frames at %dx%d:", r.width, r.height);
  for (size_t i = 0; i < r.slowest.size(); ++i) {
    const Frame& f = r.slowest[i];
    std::printf("%s beat %.2f (%.2f ms, %.0f segments)", i ? "," : "", f.beat, f.ms, f.segments);
  }
  std::printf("\n");
}

}  // namespace

// The frames as played, then the same frames recorded and replayed alone.
int measureFloor(int scene) {
  std::vector<double> played, replayed;
  std::vector<float> beats;
  for (int pass = 0; pass < 3; ++pass) {
    ScenePlayer player;
    player.replayFrames = pass == 2;
    if (!player.open(scene, 640, 480)) {
      std::fprintf(stderr, "%s\n", player.error.c_str());
      return 1;
    }
    player.play(kFrameRate, 1e9f, [&](const PlayedFrame& frame) {
      if (pass == 1) {
        played.push_back(frame.renderMs);
        beats.push_back(frame.beat);
      } else if (pass == 2) {
        replayed.push_back(frame.replayMs);
      }
      return true;
    });
  }
  if (played.empty() || played.size() != replayed.size()) return 1;
  std::printf("scene %d at 640x480, %zu frames: played median %.2f ms, p99 %.2f ms; the same primitives "
              "alone (raster floor) median %.2f ms, p99 %.2f ms\n",
              scene, played.size(), percentile(played, 0.5), percentile(played, 0.99), percentile(replayed, 0.5),
              percentile(replayed, 0.99));
  std::vector<size_t> order(played.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return played[a] > played[b]; });
  std::printf("slowest played frames:");
  for (size_t i = 0; i < std::min(order.size(), size_t(kSlowest)); ++i)
    std::printf("%s beat %.2f (%.2f ms, floor %.2f ms)", i ? "," : "", beats[order[i]], played[order[i]],
                replayed[order[i]]);
  std::printf("\n");
  return 0;
}

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[2]) == "--floor") return measureFloor(std::atoi(argv[1]));
  if (argc != 2 && argc != 4) {
    std::fprintf(stderr, "usage: scene_bench <scene> [width height | --floor]\n");
    return 2;
  }
  const int scene = std::atoi(argv[1]);
  if (argc == 4) {
    Result r;
    if (!measure(scene, std::atoi(argv[2]), std::atoi(argv[3]), &r)) return 1;
    std::printf("%d %d %d %.3f %.3f %.3f %.0f %.0f %.1f\n", r.width, r.height, r.frames, r.medianMs, r.p99Ms,
                r.worstMs, r.medianSegments, r.maxSegments, r.peakMb);
    for (const Frame& f : r.slowest) std::printf("%.3f %.3f %.0f\n", f.ms, f.beat, f.segments);
    return 0;
  }
  Result small, large;
  if (!runChild(argv[0], scene, 640, 480, &small) || !runChild(argv[0], scene, 1280, 960, &large)) {
    std::fprintf(stderr, "a measurement failed\n");
    return 1;
  }
  std::printf("| scene | size | frames | median ms | p99 ms | worst ms | segments/frame median | segments/frame max | peak MB |\n");
  std::printf("|---|---|---|---|---|---|---|---|---|\n");
  printRow(scene, small);
  printRow(scene, large);
  std::printf("1280x960 / 640x480: median x%.2f, p99 x%.2f\n", large.medianMs / small.medianMs,
              large.p99Ms / small.p99Ms);
  printSlowest(small);
  printSlowest(large);
  return 0;
}
