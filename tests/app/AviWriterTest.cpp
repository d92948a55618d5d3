// AviWriter: short captures read back by ffprobe and ffmpeg, for every codec
// of the capture-codec table this machine can encode.
#include "app/AviWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/CaptureCodec.h"
#include "platform/MessageBox.h"
#include "platform/VideoEncoder.h"
#include "support/RunCommand.h"
#include "support/MessageLog.h"

namespace {

constexpr int kWidth = 640, kHeight = 480, kFps = 30;

using testsupport::runAndRead;

// ffprobe's view of the video stream, key by key (frames actually counted).
std::map<std::string, std::string> probe(const std::string& file) {
  std::string text = runAndRead(
      "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
      "stream=codec_name,width,height,r_frame_rate,nb_frames,nb_read_frames,duration -of default=nw=1 '" +
      file + "'");
  std::map<std::string, std::string> values;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    size_t equals = line.find('=');
    if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
    at = end + 1;
  }
  return values;
}

// Every stored frame, decoded by ffmpeg as top-down RGB.
std::vector<unsigned char> decodeRgb(const std::string& file) {
  std::string bytes = runAndRead("ffmpeg -nostdin -v error -i '" + file +
                                 "' -fps_mode passthrough -f rawvideo -pix_fmt rgb24 -");
  return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

// A frame as the read-back gives it: BGRA, bottom row first. The bottom
// eighth of the picture is red, and a white bar whose x position encodes the
// frame number runs down the rest.
std::vector<unsigned char> testFrame(int number) {
  std::vector<unsigned char> pixels(size_t(kWidth) * kHeight * 4, 0);
  for (int row = 0; row < kHeight; ++row) {
    for (int x = 0; x < kWidth; ++x) {
      unsigned char* p = &pixels[(size_t(row) * kWidth + x) * 4];
      const bool red = row < kHeight / 8;  // row 0 is the bottom row
      const bool bar = !red && x >= number * 16 && x < number * 16 + 16;
      p[0] = bar ? 255 : 0;                   // blue
      p[1] = bar ? 255 : 0;                   // green
      p[2] = (bar || red) ? 255 : 0;          // red
      p[3] = 255;
    }
  }
  return pixels;
}

// Decoded pixel (x, y from the top) of frame `frame`.
const unsigned char* pixelAt(const std::vector<unsigned char>& rgb, int frame, int x, int y) {
  return &rgb[((size_t(frame) * kHeight + y) * kWidth + x) * 3];
}

using testsupport::MessageLog;

bool fileExists(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f) std::fclose(f);
  return f != nullptr;
}

std::vector<std::string> availableCodecs() {
  std::vector<std::string> names;
  for (const platform::VideoCodecInfo& codec : platform::videoCodecs())
    if (platform::videoCodecAvailable(codec.name)) names.push_back(codec.name);
  return names;
}

// Leaves no file open and the default codec chosen, whatever the test did.
class AviWriter : public ::testing::Test {
 protected:
  void TearDown() override {
    closeAvi();
    parseCaptureCodecSwitch(defaultCaptureCodec());
  }
};
class AviWriterCodec : public ::testing::TestWithParam<std::string> {
 protected:
  void TearDown() override {
    closeAvi();
    parseCaptureCodecSwitch(defaultCaptureCodec());
  }
};

}  // namespace

TEST_P(AviWriterCodec, ShortCaptureReadsBackWithExactFramesSizeRateAndPicture) {
  MessageLog log;
  ASSERT_TRUE(parseCaptureCodecSwitch(GetParam().c_str()));
  const std::string file = ::testing::TempDir() + "capture-" + GetParam() + ".avi";
  // Frame numbers run on from earlier files in this process: frame n of
  // every file is the show at n / fps.
  const long long first = aviFrameNumber();
  ASSERT_TRUE(openAvi(file.c_str(), kFps, kWidth, kHeight));
  const int frames = 40;
  for (int i = 0; i < frames; ++i) addAviFrame(testFrame(i).data());
  closeAvi();
  EXPECT_TRUE(log.boxes.empty());
  EXPECT_EQ(aviFrameNumber(), first + frames);

  std::map<std::string, std::string> info = probe(file);
  EXPECT_EQ(info["nb_read_frames"], std::to_string(frames));
  EXPECT_EQ(info["nb_frames"], std::to_string(first + frames)) << "the header counts from frame 0";
  EXPECT_EQ(info["width"], std::to_string(kWidth));
  EXPECT_EQ(info["height"], std::to_string(kHeight));
  EXPECT_EQ(info["r_frame_rate"], "30/1");
  EXPECT_NEAR(std::atof(info["duration"].c_str()), (first + frames) / double(kFps), 1e-6);

  // Upright, in colour order, and frame first + n holds what was written n-th.
  std::vector<unsigned char> rgb = decodeRgb(file);
  ASSERT_EQ(rgb.size(), size_t(frames) * kWidth * kHeight * 3);
  const int tolerance = 40;
  for (int f = 0; f < frames; f += 13) {
    const unsigned char* bottom = pixelAt(rgb, f, 320, kHeight - 5);
    EXPECT_NEAR(bottom[0], 255, tolerance) << "frame " << f << ": bottom rows must be red";
    EXPECT_NEAR(bottom[1], 0, tolerance);
    EXPECT_NEAR(bottom[2], 0, tolerance);
    const unsigned char* bar = pixelAt(rgb, f, f * 16 + 8, 100);
    EXPECT_GT(bar[0] + bar[1] + bar[2], 3 * (255 - tolerance)) << "frame " << f << ": bar missing";
    const unsigned char* beside = pixelAt(rgb, f, f * 16 + 40, 100);
    EXPECT_LT(beside[0] + beside[1] + beside[2], 3 * tolerance) << "frame " << f;
  }
  std::remove(file.c_str());
}

INSTANTIATE_TEST_SUITE_P(AllCodecs, AviWriterCodec, ::testing::ValuesIn(availableCodecs()),
                         [](const ::testing::TestParamInfo<std::string>& p) { return p.param; });

TEST_F(AviWriter, LosslessCodecsGiveBackTheExactPixels) {
  for (const platform::VideoCodecInfo& codec : platform::videoCodecs()) {
    if (!codec.lossless || !platform::videoCodecAvailable(codec.name)) continue;
    ASSERT_TRUE(parseCaptureCodecSwitch(codec.name));
    const std::string file = ::testing::TempDir() + "lossless-" + codec.name + ".avi";
    ASSERT_TRUE(openAvi(file.c_str(), kFps, kWidth, kHeight));
    std::vector<unsigned char> input = testFrame(7);
    // Noise-like colours catch any rounding a conversion would add.
    for (size_t i = 0; i < input.size(); ++i)
      if (i % 4 != 3) input[i] = static_cast<unsigned char>((i * 2654435761u) >> 24);
    addAviFrame(input.data());
    closeAvi();
    std::vector<unsigned char> rgb = decodeRgb(file);
    ASSERT_EQ(rgb.size(), size_t(kWidth) * kHeight * 3) << codec.name;
    int mismatches = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const unsigned char* in = &input[(size_t(kHeight - 1 - y) * kWidth + x) * 4];
        const unsigned char* out = pixelAt(rgb, 0, x, y);
        mismatches += out[0] != in[2] || out[1] != in[1] || out[2] != in[0];
      }
    EXPECT_EQ(mismatches, 0) << codec.name;
    std::remove(file.c_str());
  }
}

TEST_F(AviWriter, FileThatCannotBeCreatedShowsAMessageAndWritesNothing) {
  MessageLog log;
  const std::string file = ::testing::TempDir() + "no-such-folder/wirefall.avi";
  EXPECT_FALSE(openAvi(file.c_str(), kFps, kWidth, kHeight));
  ASSERT_EQ(log.boxes.size(), 1u);
  EXPECT_NE(log.boxes[0].text.find("no-such-folder/wirefall.avi"), std::string::npos);
  // Capture is off: frames and the close are harmless no-ops.
  addAviFrame(testFrame(0).data());
  closeAvi();
  EXPECT_EQ(log.boxes.size(), 1u);
  EXPECT_FALSE(fileExists(file));
}

TEST_F(AviWriter, WriteThatFailsOnTheWorkerIsToldOnceAsWhenWrittenInTheCall) {
  // Every write to /dev/full fails with "no space", after the file opened;
  // raw frames fill the write buffer at once.
  ASSERT_TRUE(parseCaptureCodecSwitch("raw"));
  std::string told[2];
  long long framesCounted[2];
  for (int worker = 0; worker < 2; ++worker) {
    MessageLog log;
    setAviWorker(worker == 1);
    const long long first = aviFrameNumber();
    ASSERT_TRUE(openAvi("/dev/full", kFps, kWidth, kHeight));
    for (int i = 0; i < 20; ++i) addAviFrame(testFrame(i).data());
    closeAvi();
    addAviFrame(testFrame(0).data());
    closeAvi();
    setAviWorker(true);
    ASSERT_EQ(log.boxes.size(), 1u);
    EXPECT_EQ(log.boxes[0].caption, "Error");
    told[worker] = log.boxes[0].text;
    // The count stops at the frame that failed: no later frame was written.
    framesCounted[worker] = aviFrameNumber() - first;
  }
  EXPECT_TRUE(aviRecordingFailed());
  EXPECT_NE(told[1].find("Sorry, cannot record the show into /dev/full.\n"), std::string::npos);
  EXPECT_NE(told[1].find("No space left on device"), std::string::npos) << told[1];
  EXPECT_EQ(told[1], told[0]);
  // Which frame meets the full disk first is up to libav's write buffer:
  // one of the first few, either way.
  EXPECT_LT(framesCounted[0], 4);
  EXPECT_LT(framesCounted[1], 4);
}

TEST_F(AviWriter, CodecThatCannotOpenLeavesNoFileBehind) {
  MessageLog log;
  const std::string file = ::testing::TempDir() + "bad-rate.avi";
  std::remove(file.c_str());
  // MPEG-4 part 2 cannot express a time base this fine.
  EXPECT_FALSE(openAvi(file.c_str(), 100000, kWidth, kHeight));
  ASSERT_EQ(log.boxes.size(), 1u);
  EXPECT_FALSE(fileExists(file));
  EXPECT_FALSE(openAvi(file.c_str(), 0, kWidth, kHeight));
  EXPECT_EQ(log.boxes.size(), 2u);
  EXPECT_FALSE(fileExists(file));
}

TEST_F(AviWriter, CodecSwitchTakesKnownNamesAndFallsBackWithAMessage) {
  MessageLog log;
  EXPECT_EQ(captureCodec(), "mpeg4");
  EXPECT_TRUE(parseCaptureCodecSwitch(" FFV1 "));
  EXPECT_EQ(captureCodec(), "ffv1");
  EXPECT_TRUE(log.boxes.empty());

  EXPECT_FALSE(parseCaptureCodecSwitch("divx3"));
  EXPECT_EQ(captureCodec(), "mpeg4");
  ASSERT_EQ(log.boxes.size(), 1u);
  EXPECT_EQ(log.boxes[0].caption, "AVI codec");
  EXPECT_NE(log.boxes[0].text.find("\"divx3\""), std::string::npos);
  EXPECT_NE(log.boxes[0].text.find("ffv1"), std::string::npos) << "the message lists the choices";

  EXPECT_FALSE(parseCaptureCodecSwitch(""));
  EXPECT_EQ(captureCodec(), "mpeg4");
  EXPECT_EQ(log.boxes.size(), 2u);
}
