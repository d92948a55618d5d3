// The whole show, headless, end to end. Two recordings with a lossless codec
// (WholeShowRecord.*, run side by side as the fixture of the checks) are made
// once a build, each checking for GL errors after every frame; the checks
// (WholeShow.*) read them: both ended by themselves with status 0 and found no
// GL error, they are the same frame for frame and sample for sample, every
// scene starts at the frame its place in the show gives it and shows its own
// pictures there, and the recording ends on the frame the show's length gives.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <utility>

#include "ShowRun.h"
#include "support/RunCommand.h"

namespace fs = std::filesystem;
using namespace showrun;

namespace {

// The scene whose local time passes its length on frame n reports the end
// on that frame (which it still draws); the next scene draws the frame after.
long long firstFrameOfScene(int scene) {
  if (scene == 0) return 0;
  return static_cast<long long>(std::ceil(recordFps() * (secondsAtBeat(kSceneStartBeat[scene]) - kTimeOffset))) + 1;
}

// A recording of the whole show in `sharedFolder()/name`, with what the run
// printed and its exit status beside it, so the checks in another process
// can read them.
struct Recording {
  std::string folder;
  Result result;
};

std::string recordingFolder(const std::string& name) { return sharedFolder() + "/whole-show-" + name; }

void record(const std::string& name) {
  const std::string folder = recordingFolder(name);
  fs::remove_all(folder);
  fs::create_directories(folder);
  linkArchive(folder);
  linkMusic(folder);
  // /e prints each GL error the loop finds after a frame, then the count.
  const Result r = run(folder, "/w /m /f" + std::to_string(recordFps()) + " /cffv1 /e", "", 1800);
  writeBytes(folder + "/output.txt", Bytes(r.output.begin(), r.output.end()));
  const std::string status = std::to_string(r.status);
  writeBytes(folder + "/status.txt", Bytes(status.begin(), status.end()));
  ASSERT_EQ(r.status, 0) << r.output;
}

const Recording& recorded(const std::string& name) {
  static std::map<std::string, Recording> recordings;
  Recording& r = recordings[name];
  if (r.folder.empty()) {
    r.folder = recordingFolder(name);
    const Bytes output = readBytes(r.folder + "/output.txt");
    const Bytes status = readBytes(r.folder + "/status.txt");
    r.result.output.assign(output.begin(), output.end());
    r.result.status = status.empty() ? -1 : std::atoi(std::string(status.begin(), status.end()).c_str());
  }
  return r;
}
const Recording& showRecording() { return recorded("first"); }

// Decoded, not copied: the pictures and the samples themselves.
std::string frameChecksums(const std::string& video) {
  return testsupport::runAndRead("ffmpeg -v error -i '" + video + "' -map 0 -f framemd5 - 2>&1");
}

bool sameBytes(const std::string& a, const std::string& b) {
  std::ifstream in[2] = {std::ifstream(a, std::ios::binary), std::ifstream(b, std::ios::binary)};
  static char block[2][1 << 20];
  while (in[0] && in[1]) {
    in[0].read(block[0], sizeof block[0]);
    in[1].read(block[1], sizeof block[1]);
    if (in[0].gcount() != in[1].gcount() || std::memcmp(block[0], block[1], size_t(in[0].gcount())) != 0) return false;
  }
  return in[0].eof() && in[1].eof();
}

// The file's streams by kind ("video", "audio"), one line each.
std::string streamKinds(const std::string& video) {
  return testsupport::runAndRead("ffprobe -v error -show_entries stream=codec_type -of csv=p=0 '" + video + "'");
}

// Pictures shrunk by ffmpeg to 40x30 RGB, the same way for the recording and
// for the stored reference frames, so both are compared at one coarse scale.
const int kSmall = 40 * 30 * 3;
// `input` is ffmpeg's input switches: one file, or a concat list of pictures
// (one frame each, in the list's order).
std::vector<std::string> smallFrames(const std::string& input) {
  const std::string raw = testsupport::runAndRead("ffmpeg -v error " + input +
                                                  " -vf setpts=N,scale=40:30:flags=area -fps_mode passthrough"
                                                  " -f rawvideo -pix_fmt rgb24 -");
  std::vector<std::string> frames;
  for (size_t at = 0; at + kSmall <= raw.size(); at += kSmall) frames.push_back(raw.substr(at, kSmall));
  return frames;
}

// The first recording's pictures, shrunk once for the checks that read them.
const std::vector<std::string>& recordedSmallFrames(const std::string& video) {
  static const std::vector<std::string> frames = smallFrames("-i '" + video + "'");
  return frames;
}

double meanDifference(const std::string& a, const std::string& b) {
  long sum = 0;
  for (int i = 0; i < kSmall; ++i)
    sum += std::abs(int(static_cast<unsigned char>(a[i])) - int(static_cast<unsigned char>(b[i])));
  return double(sum) / kSmall;
}

double meanLevel(const std::string& picture) {
  long sum = 0;
  for (unsigned char c : picture) sum += c;
  return double(sum) / kSmall;
}
const double kDarkestCompared = 5.0;

struct Reference {
  int scene;
  double beat;
  std::string picture;
};

std::vector<Reference> storedReferences() {
  std::vector<Reference> found;
  const std::regex name("beat([0-9.]+)\\.png");
  for (int scene = 0; scene < 8; ++scene) {
    const fs::path folder = fs::path(ZOLT_SOURCE_DIR) / "tests/reference" / ("scene" + std::to_string(scene));
    if (!fs::is_directory(folder)) continue;
    for (const auto& entry : fs::directory_iterator(folder)) {
      std::smatch m;
      const std::string file = entry.path().filename().string();
      // The picture holds its path until it is shrunk.
      if (std::regex_match(file, m, name)) found.push_back({scene, std::stod(m[1]), entry.path().string()});
    }
  }
  // All the pictures shrunk in one ffmpeg run, one frame a picture.
  const std::string list = sharedFolder() + "/stored-references.txt";
  std::string lines;
  for (const Reference& ref : found) lines += "file '" + ref.picture + "'\n";
  writeBytes(list, Bytes(lines.begin(), lines.end()));
  const std::vector<std::string> pictures = smallFrames("-f concat -safe 0 -i '" + list + "'");
  fs::remove(list);
  std::vector<Reference> references;
  if (pictures.size() != found.size()) return references;
  for (size_t i = 0; i < found.size(); ++i) {
    // Nearly black frames (fades, the end) look alike in every scene.
    if (meanLevel(pictures[i]) >= kDarkestCompared) references.push_back({found[i].scene, found[i].beat, pictures[i]});
  }
  return references;
}

}  // namespace

TEST(WholeShowRecord, First) { record("first"); }
TEST(WholeShowRecord, Second) { record("second"); }

TEST(WholeShow, LosslessRecordingsAreIdenticalFrameForFrame) {
  const Recording& first = showRecording();
  const Recording& second = recorded("second");
  ASSERT_EQ(first.result.status, 0) << first.result.output;
  ASSERT_EQ(second.result.status, 0) << second.result.output;
  const std::string files[2] = {first.folder + "/wirefall.avi", second.folder + "/wirefall.avi"};
  ASSERT_EQ(streamKinds(files[0]), "video\naudio\n");
  // Files the same byte for byte decode alike; only files that differ are
  // decoded, to tell whether pictures or samples differ or only the bytes.
  if (sameBytes(files[0], files[1])) return;
  const std::string checksums[2] = {frameChecksums(files[0]), frameChecksums(files[1])};
  EXPECT_EQ(checksums[0], checksums[1]);
}

TEST(WholeShow, EverySceneStartsAtItsFrameAndTheShowEndsOnItsLast) {
  const Recording& r = showRecording();
  ASSERT_EQ(r.result.status, 0) << r.result.output;
  std::map<int, long long> starts;
  const std::regex line("AVI: scene ([0-9]+) from frame ([0-9]+)");
  for (std::sregex_iterator it(r.result.output.begin(), r.result.output.end(), line), end; it != end; ++it)
    starts[std::stoi((*it)[1])] = std::stoll((*it)[2]);
  ASSERT_EQ(starts.size(), 8u) << r.result.output;
  for (int scene = 0; scene < 8; ++scene) EXPECT_EQ(starts[scene], firstFrameOfScene(scene)) << "scene " << scene;

  // The finale reports the end on the first frame past the show's length,
  // and that frame is the file's last.
  EXPECT_EQ(static_cast<long long>(recordedSmallFrames(r.folder + "/wirefall.avi").size()), firstFrameOfScene(8));
}

TEST(WholeShow, EachSceneShowsItsOwnPicturesAtItsBeats) {
  const Recording& r = showRecording();
  ASSERT_EQ(r.result.status, 0) << r.result.output;
  const std::vector<std::string>& frames = recordedSmallFrames(r.folder + "/wirefall.avi");
  const std::vector<Reference> references = storedReferences();
  ASSERT_GE(references.size(), 50u);
  // Each stored frame of scene N at beat B is matched with the recorded
  // frame at or just before that moment of the show; the stored frame
  // nearest to it, of all scenes, should be one of scene N's. The show runs
  // at 5 frames a second, its effects draw other random values than a scene
  // played alone and the screen mask darkens the corners, so a few misses
  // are allowed: three in four must hold in every scene.
  std::map<int, std::pair<int, int>> tally;  // scene -> (matched, compared)
  std::string misses;
  for (const Reference& ref : references) {
    const double seconds = secondsAtBeat(kSceneStartBeat[ref.scene] + ref.beat) - kTimeOffset;
    const long long n = static_cast<long long>(std::floor(recordFps() * seconds));
    if (n < firstFrameOfScene(ref.scene) || n >= firstFrameOfScene(ref.scene + 1) - 1) continue;
    ASSERT_LT(n, static_cast<long long>(frames.size()));
    const Reference* nearest = nullptr;
    double best = 1e9;
    for (const Reference& other : references) {
      const double d = meanDifference(frames[n], other.picture);
      if (d < best) best = d, nearest = &other;
    }
    auto& [matched, compared] = tally[ref.scene];
    ++compared;
    if (nearest->scene == ref.scene) {
      ++matched;
    } else {
      char text[128];
      std::snprintf(text, sizeof text, "scene %d beat %.2f (frame %lld) looks like scene %d beat %.2f\n",
                    ref.scene, ref.beat, n, nearest->scene, nearest->beat);
      misses += text;
    }
  }
  ASSERT_EQ(tally.size(), 8u) << "every scene has stored frames";
  for (const auto& [scene, counts] : tally) std::printf("scene %d: %d of %d stored frames matched\n", scene, counts.first, counts.second);
  std::printf("%s", misses.c_str());
  for (const auto& [scene, counts] : tally)
    EXPECT_GE(4 * counts.first, 3 * counts.second) << "scene " << scene << ":\n" << misses;
}

TEST(WholeShow, NoGlErrorThroughTheShow) {
  const Result& r = showRecording().result;
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(countLines(r.output, "GL error 0x"), 0) << r.output;
  EXPECT_NE(r.output.find("GL errors: 0"), std::string::npos) << r.output;
  EXPECT_EQ(firstFault(r.output), "");
}
