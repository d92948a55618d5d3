// Capture end to end: the main loop's two capture paths (from launch, and
// switched on with key 109) recording a show of test scenes, read back with
// ffprobe and ffmpeg.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/AviWriter.h"
#include "app/CaptureCodec.h"
#include "gfx/GlExtensions.h"
#include "app/LaunchSettings.h"
#include "app/MainLoop.h"
#include "platform/Clock.h"
#include "platform/Window.h"
#include "show/Scene.h"
#include "show/Demo.h"
#include "show/MusicStream.h"
#include "show/ResourceRegistry.h"
#include "support/FreshLoop.h"
#include "support/GlTestContext.h"
#include "support/RunCommand.h"

namespace {

constexpr int kWidth = 640, kHeight = 480, kFps = 30;

// Paints its local time into the frame: a white bar 16 pixels wide at
// x = 16 * round(t * 30) on black, so each frame tells the time it showed.
class ClockScene : public Scene {
 public:
  explicit ClockScene(ResourceRegistry* registry) : Scene(registry) { duration = 1.0f; }
  int render(float t) override {
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const int step = static_cast<int>(t * kFps + 0.5f);
    glEnable(GL_SCISSOR_TEST);
    glScissor(step * 16, 0, 16, kHeight);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    return t >= duration ? 1 : 0;
  }
};

Scene* makeClockScene(ResourceRegistry* registry) { return new ClockScene(registry); }

using testsupport::runAndRead;

std::string probeValue(const std::string& file, const std::string& entry) {
  std::string value = runAndRead("ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=" +
                                 entry + " -of csv=p=0 '" + file + "'");
  while (!value.empty() && (value.back() == '\n' || value.back() == ',')) value.pop_back();
  return value;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t at = 0, end; at < text.size(); at = end + 1) {
    end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    if (end > at) lines.push_back(text.substr(at, end - at));
  }
  return lines;
}

std::vector<std::string> splitFields(const std::string& line) {
  std::vector<std::string> fields;
  for (size_t at = 0, end; at <= line.size(); at = end + 1) {
    end = line.find(',', at);
    if (end == std::string::npos) end = line.size();
    fields.push_back(line.substr(at, end - at));
  }
  return fields;
}

// Column of the white bar in the middle row of every decoded frame.
std::vector<int> barColumns(const std::string& file) {
  std::string rgb = runAndRead("ffmpeg -nostdin -v error -i '" + file +
                               "' -fps_mode passthrough -f rawvideo -pix_fmt gray -");
  std::vector<int> columns;
  const size_t frameBytes = size_t(kWidth) * kHeight;
  for (size_t at = 0; at + frameBytes <= rgb.size(); at += frameBytes) {
    const unsigned char* row = reinterpret_cast<const unsigned char*>(&rgb[at + frameBytes / 2]);
    int column = -1;
    for (int x = 0; x < kWidth; ++x)
      if (row[x] > 128) {
        column = x;
        break;
      }
    columns.push_back(column);
  }
  return columns;
}

// Runs each test in a fresh folder, as the show writes its capture into the
// folder it runs in.
class AviCapture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testsupport::ensureGlContext(kWidth, kHeight));
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    previousDir = cwd;
    folder = ::testing::TempDir() + "avicapture-XXXXXX";
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    ASSERT_EQ(chdir(folder.c_str()), 0);
    testsupport::resetLoop();
    launchSettings.captureFps = kFps;
  }
  void TearDown() override {
    if (loop.aviOpen) closeAvi();
    loop.aviOpen = loop.capturing = false;
    delete loop.show;
    loop.show = nullptr;
    launchSettings = LaunchSettings();
    if (chdir(previousDir.c_str()) != 0) ADD_FAILURE() << "cannot return to " << previousDir;
    std::system(("rm -rf '" + folder + "'").c_str());
  }

  void makeShow() {
    ShowOrder order{};
    order.slot[0] = makeClockScene;
    loop.show = new Demo(new ResourceRegistry(), order);
    while (!loop.show->loadingDone()) loop.show->loadNext();
    loop.show->timeOffset = 0.0f;
  }

  // The one .avi file the capture made in the test's folder.
  std::string captureFile() {
    std::string name = runAndRead("ls '" + folder + "' | grep '\\.avi$'");
    while (!name.empty() && name.back() == '\n') name.pop_back();
    return name.empty() || name.find('\n') != std::string::npos ? "" : folder + "/" + name;
  }

  // A lossless capture from launch of the clock show with the soundtrack in
  // it, the worker on or off; returns every packet of the file, its
  // timestamps dropped (the frame count runs on between files).
  std::string recordPackets(bool worker) {
    setAviWorker(worker);
    parseCaptureCodecSwitch("ffv1");
    launchSettings.captureAtStart = true;
    loop.quit = false;
    loop.frameIndex = 0;
    startCaptureAtLaunch();
    EXPECT_TRUE(attachAviSoundtrack((std::string(ZOLT_OUTPUT_DIR) + "/zolt.mp3").c_str()));
    delete loop.show;
    makeShow();
    loop.show->useCaptureClock();
    testing::internal::CaptureStdout();
    for (int passes = 0; loopPass() && passes < 200; ++passes) {
    }
    closeAvi();
    testing::internal::GetCapturedStdout();
    loop.aviOpen = false;
    setAviWorker(true);
    parseCaptureCodecSwitch(defaultCaptureCodec());
    const std::string file = folder + "/" + captureFileName(loop.capturesOpened - 1);
    // NOTE: the frame count runs on across the recordings of one process, so
    // the second file's pictures start later than its sound; the muxer then
    // fills the gap with empty pictures and lays the streams out otherwise.
    // Each stream's packets are compared in their order instead, without the
    // empty ones (byte identity of whole files is checked across processes).
    std::string packets[2];
    for (const std::string& line : splitLines(runAndRead("ffmpeg -v error -i '" + file +
                                                         "' -map 0 -c copy -f framemd5 -"))) {
      // stream, dts, pts, duration, size, hash: keep all but the two times
      std::vector<std::string> fields = splitFields(line);
      if (line[0] != '#' && fields.size() == 6 && std::atoi(fields[4].c_str()) > 0 && (fields[0] == "0" || fields[0] == "1"))
        packets[fields[0] == "1"] += fields[0] + fields[3] + fields[4] + fields[5] + "\n";
    }
    return packets[0] + packets[1];
  }

  std::string previousDir, folder;
};

}  // namespace

TEST_F(AviCapture, FromLaunchEveryFrameFromClockZeroIsRecordedExactly) {
  launchSettings.captureAtStart = true;
  const long long firstFrame = aviFrameNumber();
  startCaptureAtLaunch();
  ASSERT_TRUE(loop.aviOpen);
  ASSERT_TRUE(loop.capturing);
  const std::string file = captureFile();
  ASSERT_FALSE(file.empty()) << "the file exists before loading begins";

  makeShow();
  loop.show->music->open((std::string(ZOLT_OUTPUT_DIR) + "/zolt.mp3").c_str());
  loop.show->useCaptureClock();
  clearKeyTable();
  testing::internal::CaptureStdout();
  int passes = 0;
  while (loopPass() && passes < 200) ++passes;
  closeAvi();  // as the shutdown does
  loop.aviOpen = false;
  const std::string printed = testing::internal::GetCapturedStdout();

  // The scene lasts 1 s: frames at 0, 1/30, ... 30/30, the last one ending
  // the show and still recorded.
  EXPECT_EQ(loop.show->music->positionMs(), 0) << "the music never starts during such a capture";
  EXPECT_EQ(loop.frameIndex, 31);
  EXPECT_EQ(aviFrameNumber(), firstFrame + 31);
  EXPECT_NE(printed.find("31 frames written, show time 1.00 s"), std::string::npos) << printed;
  EXPECT_EQ(probeValue(file, "nb_read_frames"), "31");
  EXPECT_EQ(probeValue(file, "width"), "640");
  EXPECT_EQ(probeValue(file, "height"), "480");
  EXPECT_EQ(probeValue(file, "r_frame_rate"), "30/1");
  EXPECT_NEAR(std::atof(probeValue(file, "duration").c_str()), (firstFrame + 31) / 30.0, 1e-6);

  std::vector<int> columns = barColumns(file);
  ASSERT_EQ(columns.size(), 31u);
  for (int n = 0; n < 31; ++n) EXPECT_EQ(columns[n], n * 16) << "frame " << n << " shows t = n / 30";
}

TEST_F(AviCapture, SwitchedOnLaterTheFirstPassOpensAndFramesContinueTheCount) {
  makeShow();
  loop.show->useCaptureClock();
  loop.frameIndex = 5;  // capture ran before; the count is never reset
  typeCharacter('m');
  runKeyHandler();
  ASSERT_TRUE(loop.capturing);
  testing::internal::CaptureStdout();
  ASSERT_TRUE(loopPass());  // opens only
  EXPECT_TRUE(loop.aviOpen);
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(loopPass());
  typeCharacter('m');
  runKeyHandler();
  const std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_FALSE(loop.capturing);
  EXPECT_NE(printed.find("AVI ended"), std::string::npos);

  const std::string file = captureFile();
  ASSERT_FALSE(file.empty());
  EXPECT_EQ(probeValue(file, "nb_read_frames"), "10");
  std::vector<int> columns = barColumns(file);
  ASSERT_EQ(columns.size(), 10u);
  // The opening pass drew t = 5/30 unrecorded; recording starts at 6/30.
  for (int n = 0; n < 10; ++n) EXPECT_EQ(columns[n], (6 + n) * 16) << "frame " << n;
}

TEST_F(AviCapture, WorkerWritesTheSamePacketsInTheSameOrderAsWritingInTheCall) {
  const std::string inCall = recordPackets(false);
  const std::string pipelined = recordPackets(true);
  // 31 pictures, the last one ending the show, and after each its 1,470
  // samples of sound, read back as packets of 1,024 and 446.
  EXPECT_EQ(std::count(inCall.begin(), inCall.end(), '\n'), 31 * 3);
  EXPECT_EQ(pipelined, inCall);
}

TEST_F(AviCapture, FileThatCannotBeMadeLeavesCaptureOffAndTheShowRunning) {
  ASSERT_EQ(chdir("/proc"), 0);  // nothing can be created here
  launchSettings.captureAtStart = true;
  testing::internal::CaptureStderr();
  startCaptureAtLaunch();
  testing::internal::GetCapturedStderr();
  EXPECT_FALSE(loop.aviOpen);
  EXPECT_FALSE(loop.capturing);
  makeShow();
  // Live now: the 1-second scene runs on the wall clock.
  const uint32_t start = platform::wallMilliseconds();
  while (loopPass() && platform::wallMilliseconds() - start < 5000) {
  }
  EXPECT_TRUE(loop.quit) << "the show still plays to its end";
}
