// avi_codec_bench: how fast each capture codec writes 640x480 frames, side
// by side in one run, with the file size each one makes.
//
// The frames look like the show's: bright green and white lines on black,
// moving every frame, under a darkened border. Usage: avi_codec_bench [frames]
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "gfx/GlExtensions.h"
#include "platform/Clock.h"
#include "platform/VideoEncoder.h"
#include "platform/Window.h"

namespace {

constexpr int kWidth = 640, kHeight = 480, kFps = 30;

void plot(std::vector<unsigned char>& frame, int x, int y, int b, int g, int r) {
  if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return;
  unsigned char* p = &frame[(size_t(y) * kWidth + x) * 4];
  p[0] = static_cast<unsigned char>(std::min(255, p[0] + b));
  p[1] = static_cast<unsigned char>(std::min(255, p[1] + g));
  p[2] = static_cast<unsigned char>(std::min(255, p[2] + r));
  p[3] = 255;
}

// A spinning wire figure of 48 lines, 2 pixels wide, with a dim glow.
void paintFrame(std::vector<unsigned char>& frame, int n) {
  std::fill(frame.begin(), frame.end(), 0);
  const double angle = n * 0.03;
  for (int line = 0; line < 48; ++line) {
    double a = angle + line * 0.1309, b = angle * 1.7 + line * 0.41;
    double x0 = 320 + 200 * std::cos(a), y0 = 240 + 150 * std::sin(b);
    double x1 = 320 + 180 * std::cos(b + 1.3), y1 = 240 + 170 * std::sin(a + 0.7);
    const bool white = line % 6 == 0;
    const int steps = int(std::hypot(x1 - x0, y1 - y0)) + 1;
    for (int s = 0; s <= steps; ++s) {
      int x = int(x0 + (x1 - x0) * s / steps), y = int(y0 + (y1 - y0) * s / steps);
      for (int dx = -2; dx <= 2; ++dx) {
        const bool core = dx >= 0 && dx <= 1;
        const int level = core ? 200 : 40;
        plot(frame, x + dx, y, white ? level : level / 4, level, white ? level : level / 4);
      }
    }
  }
}

// Frames per second of the main loop's read-back (glReadPixels, BGRA) at
// 640x480 on this machine's OpenGL; 0 when no context can be made.
double readBackRate(int frames) {
  if (!platform::initVideo() || !platform::createWindow("avi_codec_bench", kWidth, kHeight) ||
      !platform::createContext() || !platform::makeContextCurrent())
    return 0.0;
  std::vector<unsigned char> buffer(size_t(kWidth) * kHeight * 4);
  const uint32_t start = platform::wallMilliseconds();
  for (int i = 0; i < frames; ++i) {
    glClearColor(0.0f, (i % 10) * 0.1f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glReadPixels(0, 0, kWidth, kHeight, GL_BGRA, GL_UNSIGNED_BYTE, buffer.data());
  }
  const double seconds = (platform::wallMilliseconds() - start) * 0.001;
  platform::deleteContext();
  platform::destroyWindow();
  return seconds > 0.0 ? frames / seconds : 0.0;
}

long long fileSize(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? info.st_size : 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
  // The frames are made up front so only the writer is timed.
  std::vector<std::vector<unsigned char>> pictures(60, std::vector<unsigned char>(size_t(kWidth) * kHeight * 4));
  for (int i = 0; i < 60; ++i) paintFrame(pictures[i], i);

  // Codecs take turns in short rounds (open, frames, close with the encoder
  // drained), so a machine whose load changes slows them all alike and the
  // ratios hold; threaded encoders are timed until their last packet.
  struct Row {
    std::string codec, file;
    uint64_t ticks = 0;
    long long bytes = 0;
    double fps = 0.0, kilobytesPerFrame = 0.0;
  };
  std::vector<Row> rows;
  for (const platform::VideoCodecInfo& codec : platform::videoCodecs()) {
    if (platform::videoCodecAvailable(codec.name))
      rows.push_back({codec.name, "/tmp/avi_codec_bench_" + std::string(codec.name) + ".avi"});
    else
      std::printf("%-8s not available in this libavcodec\n", codec.name);
  }
  constexpr int kRounds = 5;
  for (int round = 0; round < kRounds; ++round) {
    for (Row& row : rows) {
      const int count = frames / kRounds;
      platform::VideoEncoder encoder;
      const uint64_t start = platform::performanceCounter();
      if (!encoder.open(row.file, row.codec.c_str(), kFps, kWidth, kHeight)) {
        std::printf("%s: %s\n", row.codec.c_str(), encoder.lastError().c_str());
        return 1;
      }
      for (int i = 0; i < count; ++i) encoder.writeFrame(pictures[i % 60].data(), i);
      encoder.close();
      row.ticks += platform::performanceCounter() - start;
      row.bytes += fileSize(row.file);
    }
  }
  for (Row& row : rows) {
    row.fps = (frames / kRounds * kRounds) / (double(row.ticks) / double(platform::performanceFrequency()));
    row.kilobytesPerFrame = row.bytes / 1024.0 / (frames / kRounds * kRounds);
    std::remove(row.file.c_str());
  }
  std::printf("\n%d frames of %dx%d per codec\n", frames, kWidth, kHeight);
  std::printf("%-8s %10s %12s %14s %16s\n", "codec", "frames/s", "vs default", "KiB per frame",
               "full show (s)");
  for (const Row& row : rows)
    std::printf("%-8s %10.1f %11.2fx %14.1f %16.1f\n", row.codec.c_str(), row.fps,
                 row.fps / rows.front().fps, row.kilobytesPerFrame, 6258 / row.fps);
  const double readBack = readBackRate(frames);
  if (readBack > 0.0)
    std::printf("%-8s %10.1f %11.2fx %14s %16.1f   (glReadPixels only)\n", "readback", readBack,
                readBack / rows.front().fps, "-", 6258 / readBack);
  std::printf("(full show: 452 beats = 208.6 s = 6258 frames at 30 frames/s; writer only)\n");
  return 0;
}
