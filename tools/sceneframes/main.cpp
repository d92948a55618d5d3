// scene_frames: plays one scene headless and keeps the frames at chosen
// beats (run from build/bin, beside trov.qz5).
//
//   scene_frames <scene> --sheet <out.png> [--columns N] [beat ...]
//       the frames halved and tiled into one picture (the README's sheets);
//       without beats, twelve spread over the scene
//   scene_frames <scene> --frames <dir> [beat ...]
//       one full-size PNG per beat
//   scene_frames <scene> --reference <dir> [beat ...]
//       the suite's reference frames: a quarter size, named beat<B>.png;
//       without beats, the beats of the references already in <dir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/sceneplayer/ReferenceFrames.h"
#include "tools/sceneplayer/ScenePlayer.h"

namespace {

const int kWidth = 640;
const int kHeight = 480;

int usage() {
  std::fprintf(stderr,
               "usage: scene_frames <scene> --sheet <out.png> [--columns N] [beat ...]\n"
               "       scene_frames <scene> --frames <dir> [beat ...]\n"
               "       scene_frames <scene> --reference <dir> [beat ...]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return usage();
  char* end = nullptr;
  const long scene = std::strtol(argv[1], &end, 10);
  if (*end != '\0' || scene < 0 || scene > 7) return usage();
  const std::string mode = argv[2];
  const std::string out = argv[3];
  if (mode != "--sheet" && mode != "--frames" && mode != "--reference") return usage();
  int next = 4;
  int columns = 4;
  if (next + 1 < argc && std::strcmp(argv[next], "--columns") == 0) {
    columns = std::max(1, std::atoi(argv[next + 1]));
    next += 2;
  }
  std::vector<float> beats;
  for (; next < argc; ++next) {
    const float beat = std::strtof(argv[next], &end);
    if (*end != '\0' || beat < 0.0f) return usage();
    beats.push_back(beat);
  }
  if (beats.empty() && mode == "--reference") beats = referenceBeatsIn(out);
  if (mode == "--reference" && beats.empty()) {
    std::fprintf(stderr, "no beats given and no reference frames in %s\n", out.c_str());
    return 2;
  }

  ScenePlayer player;
  if (!player.open(int(scene), kWidth, kHeight)) {
    std::fprintf(stderr, "%s\n", player.error.c_str());
    return 1;
  }
  if (beats.empty()) {
    const float length = player.lengthInBeats();
    for (int i = 0; i < 12; ++i) beats.push_back(length * (float(i) + 0.5f) / 12.0f);
  }
  std::vector<RgbImage> frames = captureAtBeats(player, beats);
  std::sort(beats.begin(), beats.end());

  bool ok = frames.size() == beats.size();
  if (!ok) std::fprintf(stderr, "the scene ended before beat %.2f\n", beats[frames.size()]);
  if (mode == "--sheet") {
    RgbImage sheet;
    const int rows = int((frames.size() + columns - 1) / columns);
    sheet.width = columns * kWidth / 2;
    sheet.height = rows * kHeight / 2;
    sheet.rgb.assign(size_t(sheet.width) * sheet.height * 3, 0);
    for (size_t i = 0; i < frames.size(); ++i) {
      paste(shrink(frames[i], 2), sheet, int(i % columns) * kWidth / 2, int(i / columns) * kHeight / 2);
    }
    ok = writePng(out, sheet) && ok;
  } else {
    std::filesystem::create_directories(out);
    for (size_t i = 0; i < frames.size(); ++i) {
      const bool reference = mode == "--reference";
      const std::string path = out + "/" + (reference ? referenceFileName(beats[i]) : frameFileName(int(scene), beats[i]));
      ok = writePng(path, reference ? shrink(frames[i], kReferenceShrink) : frames[i]) && ok;
    }
  }
  return ok ? 0 : 1;
}
