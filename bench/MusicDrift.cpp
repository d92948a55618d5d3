// music_drift: plays the soundtrack and compares MusicStream's
// positionSeconds with the wall clock, to see whether the picture (timed by
// the wall clock) stays with the sound.
//
// Usage: music_drift [seconds=60] [file=zolt.mp3]. Run from build/bin. With
// no sound device the dummy driver plays (in real time, silently).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/Clock.h"
#include "show/MusicStream.h"

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
  const char* file = argc > 2 ? argv[2] : "zolt.mp3";
  MusicStream music;
  music.open(file);
  if (!music.isOpen()) return 1;

  // Start as the show does: unpause, then wait for the position to move.
  music.unpause();
  const int firstMs = music.positionMs();
  const uint32_t spinStart = platform::wallMilliseconds();
  while (music.positionMs() == firstMs && platform::wallMilliseconds() - spinStart < 2000) {
  }
  const uint32_t wallStart = platform::wallMilliseconds();
  const double musicStart = music.positionSeconds();

  double minOffset = 1e9, maxOffset = -1e9, sumSquares = 0.0, offset = 0.0;
  long samples = 0, steps = 0;
  int lastMs = music.positionMs();
  // Every second for the first five (where the start settles), then every ten.
  int nextReport = 1;
  std::printf("%8s %12s %12s\n", "wall s", "music s", "music-wall ms");
  for (;;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const double wall = (platform::wallMilliseconds() - wallStart) * 0.001;
    const double position = music.positionSeconds() - musicStart;
    const int ms = music.positionMs();
    if (ms != lastMs) ++steps;
    lastMs = ms;
    offset = (position - wall) * 1000.0;
    minOffset = std::min(minOffset, offset);
    maxOffset = std::max(maxOffset, offset);
    sumSquares += offset * offset;
    ++samples;
    if (wall >= nextReport) {
      std::printf("%8.3f %12.3f %12.2f\n", wall, position, offset);
      nextReport += nextReport < 5 ? 1 : (nextReport < 10 ? 10 - nextReport : 10);
    }
    if (wall >= seconds) break;
  }
  std::printf("\nover %d s: drift at the end %+.1f ms (%+.0f ppm), range %+.1f .. %+.1f ms, rms %.1f ms\n",
              seconds, offset, offset / (seconds * 1000.0) * 1e6, minOffset, maxOffset,
              std::sqrt(sumSquares / samples));
  std::printf("library position steps: %ld, one every %.1f ms on average\n", steps,
              seconds * 1000.0 / std::max(1L, steps));
  return 0;
}
