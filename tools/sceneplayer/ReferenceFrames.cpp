// ReferenceFrames: names, capture and comparison of reference frames.
#include "tools/sceneplayer/ReferenceFrames.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "tools/sceneplayer/ScenePlayer.h"

namespace {

const float kFrameRate = 30.0f;

}  // namespace

std::string referenceFileName(float beat) {
  char name[32];
  std::snprintf(name, sizeof name, "beat%05.2f.png", beat);
  return name;
}

std::string frameFileName(int scene, float beat) {
  char name[48];
  std::snprintf(name, sizeof name, "scene%d_beat%05.2f.png", scene, beat);
  return name;
}

std::vector<float> referenceBeatsIn(const std::string& dir) {
  std::vector<float> beats;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("beat", 0) != 0 || entry.path().extension() != ".png") continue;
    beats.push_back(std::strtof(name.c_str() + 4, nullptr));
  }
  std::sort(beats.begin(), beats.end());
  return beats;
}

std::vector<RgbImage> captureAtBeats(ScenePlayer& player, std::vector<float> beats) {
  std::sort(beats.begin(), beats.end());
  std::vector<RgbImage> frames;
  if (beats.empty()) return frames;
  size_t wanted = 0;
  player.play(kFrameRate, beats.back() + 1.0f, [&](const PlayedFrame& frame) {
    while (wanted < beats.size() && frame.beat >= beats[wanted]) {
      frames.push_back(player.readFrame());
      ++wanted;
    }
    return wanted < beats.size();
  });
  return frames;
}

FrameDifference compareFrames(const RgbImage& a, const RgbImage& b) {
  FrameDifference difference;
  if (a.width != b.width || a.height != b.height || a.rgb.size() != b.rgb.size() || a.rgb.empty()) {
    difference.sameSize = false;
    return difference;
  }
  double total = 0.0;
  double lightA = 0.0;
  double lightB = 0.0;
  size_t changed = 0;
  const size_t pixels = a.rgb.size() / 3;
  for (size_t p = 0; p < pixels; ++p) {
    int worst = 0;
    for (int c = 0; c < 3; ++c) {
      const int d = std::abs(int(a.rgb[p * 3 + c]) - int(b.rgb[p * 3 + c]));
      total += d;
      lightA += a.rgb[p * 3 + c];
      lightB += b.rgb[p * 3 + c];
      worst = std::max(worst, d);
    }
    if (worst > kChangedBy) ++changed;
  }
  difference.meanAbsolute = total / double(a.rgb.size());
  difference.changedShare = double(changed) / double(pixels);
  const double brighter = std::max(lightA, lightB);
  difference.lightChange = brighter > 0.0 ? std::fabs(lightA - lightB) / brighter : 0.0;
  return difference;
}

bool framesMatch(const FrameDifference& difference) {
  return difference.sameSize && difference.meanAbsolute <= 1.0 && difference.changedShare <= 0.005 &&
         difference.lightChange <= 0.03;
}
