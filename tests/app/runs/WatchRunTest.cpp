// The built program for the viewer and the recorder of today: help without
// a show, recordings in the shared containers read back whole, and desktop
// full screen recording the picture alone, the same as a window of its size.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "ShowRun.h"
#include "support/RunCommand.h"

namespace fs = std::filesystem;
using namespace showrun;

namespace {

// Frames the program said it wrote ("AVI: N frames written" lines, last one).
int framesWritten(const std::string& output) {
  const size_t at = output.rfind(" frames written");
  if (at == std::string::npos) return -1;
  size_t start = output.rfind(' ', at - 1);
  return std::atoi(output.c_str() + (start == std::string::npos ? 0 : start + 1));
}

std::string probeVideo(const std::string& file, const std::string& entries) {
  return testsupport::runAndRead("ffprobe -v error -count_frames -select_streams v:0 -show_entries " +
                                 entries + " -of default=nw=1 '" + file + "'");
}

std::string value(const std::string& text, const std::string& key) {
  const size_t at = text.find(key + "=");
  if (at == std::string::npos) return "";
  const size_t end = text.find('\n', at);
  return text.substr(at + key.size() + 1, end - at - key.size() - 1);
}

}  // namespace

TEST(WatchRun, HelpPrintsTheTablesAndExitsWithoutAShow) {
  const std::string folder = freshFolder("help");  // no archive: no show could start
  for (const char* ask : {"--help", "-h", "/?"}) {
    const Result r = runApart(folder, std::string("'") + ask + "'", 30);
    EXPECT_EQ(r.status, 0) << ask << "\n" << r.output;
    for (const char* part : {"Switches:", "  /d ", "  /oFILE ", "  /w ", "Keys:", "space"})
      EXPECT_NE(r.output.find(part), std::string::npos) << ask << " lacks " << part << "\n" << r.output;
    EXPECT_EQ(r.output.find("trov.qz5"), std::string::npos) << ask << "\n" << r.output;
  }
  fs::remove_all(folder);
}

TEST(WatchRun, RecordingsInEachContainerReadBackWithEveryFrame) {
  struct Take {
    const char* switches;
    const char* file;
  };
  const Take takes[] = {{"/w /m /t300 /oout.mp4 /ch264", "out.mp4"},
                        {"/w /m /t300 /orecs/take.mkv /cmjpeg", "recs/take.mkv"}};
  for (const Take& take : takes) {
    const std::string folder = freshFolder("container");
    linkArchive(folder);
    linkMusic(folder);
    fs::create_directories(fs::path(folder) / "recs");
    const Result r = run(folder, take.switches, "", 180);
    ASSERT_EQ(r.status, 0) << take.switches << "\n" << r.output;
    const int frames = framesWritten(r.output);
    ASSERT_GT(frames, 0) << r.output;
    const std::string info = probeVideo(folder + "/" + take.file, "stream=nb_read_frames:format=duration");
    EXPECT_EQ(value(info, "nb_read_frames"), std::to_string(frames)) << take.switches << "\n" << info;
    EXPECT_NEAR(std::atof(value(info, "duration").c_str()), frames / 30.0, 1.0 / 30 + 0.03)
        << take.switches << "\n" << info;
    EXPECT_FALSE(fs::exists(fs::path(folder) / "wirefall.avi"));
    fs::remove_all(folder);
  }
}

TEST(WatchRun, NameThatCannotBeWrittenIsReportedAndTheShowGoesOn) {
  const std::string folder = freshFolder("unwritable");
  linkArchive(folder);
  linkMusic(folder);
  const Result r = run(folder, "/w /m /t300 /onowhere/out.mkv", "", 180);
  EXPECT_NE(r.output.find("cannot create nowhere/out.mkv"), std::string::npos) << r.output;
  // The show played to its end; the exit status tells the recording is missing.
  EXPECT_EQ(r.status, 2) << r.output;
  EXPECT_EQ(firstFault(r.output), "");
  fs::remove_all(folder);
}

TEST(WatchRun, DesktopFullScreenRecordsThePictureAloneAsAWindowOfItsSizeDoes) {
  // A 1920x1080 desktop: the picture, and so the recording, is 1440x1080.
  std::string folder = freshFolder("desktop-wide");
  linkArchive(folder);
  Result r = run(folder, "/d /m /t300 /cffv1 /e", "ZOLT_OFFSCREEN_DESKTOP=1920x1080", 180);
  ASSERT_EQ(r.status, 0) << r.output;
  // Laying the picture into the window at every swap leaves no GL error.
  EXPECT_NE(r.output.find("GL errors: 0"), std::string::npos) << r.output;
  const std::string info = probeVideo(folder + "/wirefall.avi", "stream=width,height");
  EXPECT_EQ(value(info, "width"), "1440") << info;
  EXPECT_EQ(value(info, "height"), "1080") << info;
  fs::remove_all(folder);

  // A 1000x600 desktop gives an 800x600 picture: frame for frame, byte for
  // byte, what /z1 records in a window (a recording from launch is drawn off
  // screen either way, so the driver rasterises both alike).
  constexpr int kW = 800, kH = 600;
  std::string pixels[2];
  const char* switches[2] = {"/d /m /t100 /f1 /cffv1", "/w /z1 /m /t100 /f1 /cffv1"};
  for (int i = 0; i < 2; ++i) {
    folder = freshFolder("desktop-same-" + std::to_string(i));
    linkArchive(folder);
    r = run(folder, switches[i], "ZOLT_OFFSCREEN_DESKTOP=1000x600", 300);
    ASSERT_EQ(r.status, 0) << r.output;
    pixels[i] = testsupport::runAndRead("ffmpeg -v error -i '" + folder +
                                        "/wirefall.avi' -map 0:v -f rawvideo -pix_fmt rgb24 -");
    fs::remove_all(folder);
  }
  const size_t frameBytes = size_t(kW) * kH * 3;
  ASSERT_EQ(pixels[0].size(), pixels[1].size());
  ASSERT_GE(pixels[0].size(), 10 * frameBytes);
  ASSERT_EQ(pixels[0].size() % frameBytes, 0u);
  int framesWithPicture = 0;
  for (size_t at = 0; at < pixels[0].size(); at += frameBytes) {
    long long lit = 0;
    for (size_t i = at; i < at + frameBytes; ++i) lit += static_cast<unsigned char>(pixels[1][i]);
    framesWithPicture += lit > 3 * kW * kH;  // more than a dark frame
    EXPECT_TRUE(pixels[0].compare(at, frameBytes, pixels[1], at, frameBytes) == 0) << "frame " << at / frameBytes;
  }
  EXPECT_GE(framesWithPicture, 5) << "the comparison needs frames with lines in them";
}
