// Recordings in every container the name's extension picks, read back by
// ffprobe: the right container and streams, every frame and the length, an
// MP4 laid out for browsers, and combinations a container cannot hold
// refused before any file exists.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/AviWriter.h"
#include "app/CaptureCodec.h"
#include "platform/VideoEncoder.h"
#include "support/MessageLog.h"
#include "support/RunCommand.h"

namespace {

using testsupport::runAndRead;

constexpr int kWidth = 320, kHeight = 240, kFps = 30, kFrames = 45;
const std::string kSoundtrack = std::string(ZOLT_OUTPUT_DIR) + "/zolt.mp3";

std::map<std::string, std::string> probe(const std::string& file, const std::string& what) {
  const std::string text = runAndRead("ffprobe -v error -count_frames " + what +
                                      " -of default=nw=1 '" + file + "'");
  std::map<std::string, std::string> values;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(at, end - at);
    const size_t equals = line.find('=');
    if (equals != std::string::npos && !values.count(line.substr(0, equals)))
      values[line.substr(0, equals)] = line.substr(equals + 1);
    at = end + 1;
  }
  return values;
}

std::string audioCodec(const std::string& file) {
  return runAndRead("ffprobe -v error -select_streams a:0 -show_entries stream=codec_name "
                    "-of default=nw=1:nk=1 '" + file + "'");
}

bool fileExists(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f) std::fclose(f);
  return f != nullptr;
}

struct Case {
  const char* extension;
  const char* codec;
  const char* formatName;  // ffprobe's format_name
  const char* sound;       // the audio stream's codec
};

class RecordingContainer : public ::testing::TestWithParam<Case> {
 protected:
  void TearDown() override {
    closeAvi();
    parseCaptureCodecSwitch(defaultCaptureCodec());
  }
};

TEST_P(RecordingContainer, ReadsBackWithEveryFrameTheLengthAndTheSound) {
  const Case c = GetParam();
  if (!platform::videoCodecAvailable(c.codec)) GTEST_SKIP() << c.codec << " not in this libavcodec";
  testsupport::MessageLog log;
  ASSERT_TRUE(parseCaptureCodecSwitch(c.codec));
  const std::string file = ::testing::TempDir() + "container-" + c.codec + c.extension;
  std::remove(file.c_str());
  const long long first = aviFrameNumber();
  ASSERT_TRUE(openAvi(file.c_str(), kFps, kWidth, kHeight));
  ASSERT_TRUE(attachAviSoundtrack(kSoundtrack.c_str()));
  std::vector<unsigned char> frame(size_t(kWidth) * kHeight * 4, 0);
  for (int i = 0; i < kFrames; ++i) {
    frame[size_t(i) * 4 + 1] = 255;
    addAviFrame(frame.data());
  }
  closeAvi();
  EXPECT_TRUE(log.boxes.empty());

  std::map<std::string, std::string> video =
      probe(file, "-select_streams v:0 -show_entries stream=codec_name,pix_fmt,width,height,"
                  "nb_read_frames,start_time:format=format_name,duration");
  EXPECT_EQ(video["format_name"], c.formatName);
  EXPECT_EQ(video["codec_name"], c.codec);
  EXPECT_EQ(video["width"], std::to_string(kWidth));
  EXPECT_EQ(video["nb_read_frames"], std::to_string(kFrames));
  // Frame n of a file is the show at n / fps, whichever file it is.
  const double start = std::atof(video["start_time"].c_str());
  const double end = std::atof(video["duration"].c_str());
  const double length = video["format_name"] == "avi" ? end - first / double(kFps) : end - start;
  EXPECT_NEAR(length, kFrames / double(kFps), 1.0 / kFps + 0.03) << "start " << start << " end " << end;
  EXPECT_EQ(audioCodec(file), std::string(c.sound) + "\n");
  std::remove(file.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Containers, RecordingContainer,
    ::testing::Values(Case{".avi", "h264", "avi", "pcm_s16le"},
                      Case{".mkv", "h264", "matroska,webm", "pcm_s16le"},
                      Case{".MKV", "ffv1", "matroska,webm", "pcm_s16le"},
                      Case{".mp4", "h264", "mov,mp4,m4a,3gp,3g2,mj2", "aac"},
                      Case{".mp4", "mpeg4", "mov,mp4,m4a,3gp,3g2,mj2", "aac"}),
    [](const ::testing::TestParamInfo<Case>& p) {
      return std::string(p.param.extension + 1) + "_" + p.param.codec;
    });

TEST(RecordingContainerMp4, H264Mp4IsWhatBrowsersPlay) {
  if (!platform::videoCodecAvailable("h264")) GTEST_SKIP() << "no H.264 encoder";
  testsupport::MessageLog log;
  ASSERT_TRUE(parseCaptureCodecSwitch("h264"));
  const std::string file = ::testing::TempDir() + "browser.mp4";
  ASSERT_TRUE(openAvi(file.c_str(), kFps, kWidth, kHeight));
  ASSERT_TRUE(attachAviSoundtrack(kSoundtrack.c_str()));
  std::vector<unsigned char> frame(size_t(kWidth) * kHeight * 4, 128);
  for (int i = 0; i < 10; ++i) addAviFrame(frame.data());
  closeAvi();
  parseCaptureCodecSwitch(defaultCaptureCodec());
  std::map<std::string, std::string> video =
      probe(file, "-select_streams v:0 -show_entries stream=pix_fmt,codec_tag_string,profile");
  EXPECT_EQ(video["pix_fmt"], "yuv420p");
  EXPECT_EQ(video["codec_tag_string"], "avc1");
  // The index comes before the data, so playback starts while it loads.
  const std::string head = runAndRead("head -c 65536 '" + file + "' | od -An -c | tr -d ' \\n'");
  const size_t moov = head.find("moov"), mdat = head.find("mdat");
  ASSERT_NE(moov, std::string::npos);
  EXPECT_TRUE(mdat == std::string::npos || moov < mdat);
  std::remove(file.c_str());
}

TEST(RecordingContainerMp4, CodecTheContainerCannotHoldIsRefusedBeforeAnyFileExists) {
  testsupport::MessageLog log;
  ASSERT_TRUE(parseCaptureCodecSwitch("ffv1"));
  const std::string file = ::testing::TempDir() + "lossless.mp4";
  std::remove(file.c_str());
  EXPECT_FALSE(openAvi(file.c_str(), kFps, kWidth, kHeight));
  parseCaptureCodecSwitch(defaultCaptureCodec());
  ASSERT_EQ(log.boxes.size(), 1u);
  EXPECT_NE(log.boxes[0].text.find("lossless.mp4"), std::string::npos) << log.boxes[0].text;
  EXPECT_NE(log.boxes[0].text.find(".mkv"), std::string::npos) << log.boxes[0].text;
  EXPECT_FALSE(fileExists(file));
}

TEST(RecordingContainerName, ExtensionPicksTheContainer) {
  EXPECT_STREQ(platform::containerForFile("a.mkv"), "mkv");
  EXPECT_STREQ(platform::containerForFile("dir/Show.MP4"), "mp4");
  EXPECT_STREQ(platform::containerForFile("wirefall.avi"), "avi");
  EXPECT_STREQ(platform::containerForFile("noext"), "avi");
  EXPECT_STREQ(platform::containerForFile("take.mkv.d/noext"), "avi");
  EXPECT_STREQ(platform::containerForFile("clip.webm"), "avi");
}

}  // namespace
