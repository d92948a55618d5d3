// The soundtrack in a capture: sample-exact against an independent decode
// of the same file, ending with the last frame, and a silent file when the
// sound cannot be had.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AviWriter.h"
#include "app/CaptureCodec.h"
#include "support/MessageLog.h"
#include "support/RunCommand.h"

namespace {

using testsupport::runAndRead;

constexpr int kWidth = 160, kHeight = 120, kFps = 30;
const std::string kSoundtrack = std::string(ZOLT_OUTPUT_DIR) + "/zolt.mp3";

std::string probeStreams(const std::string& file) {
  return runAndRead("ffprobe -v error -show_entries stream=codec_type,codec_name,sample_rate,channels "
                    "-of compact=p=0:nk=1 '" + file + "'");
}

std::string decodeSound(const std::string& input, const std::string& extra) {
  return runAndRead("ffmpeg -nostdin -v error -i '" + input + "' " + extra +
                    " -map 0:a -f s16le -ac 2 -ar 44100 -");
}

void writeFrames(int count) {
  std::vector<unsigned char> black(size_t(kWidth) * kHeight * 4, 0);
  for (int i = 0; i < count; ++i) addAviFrame(black.data());
}

class AviSoundtrack : public ::testing::Test {
 protected:
  void SetUp() override { parseCaptureCodecSwitch(defaultCaptureCodec()); }
  void TearDown() override { closeAvi(); }
};

TEST_F(AviSoundtrack, SoundMatchesAnIndependentDecodeAndEndsWithTheLastFrame) {
  const std::string file = ::testing::TempDir() + "with-sound.avi";
  ASSERT_TRUE(openAvi(file.c_str(), kFps, kWidth, kHeight));
  ASSERT_TRUE(attachAviSoundtrack(kSoundtrack.c_str()));
  writeFrames(45);  // 1.5 s
  closeAvi();

  const std::string streams = probeStreams(file);
  EXPECT_NE(streams.find("mpeg4|video"), std::string::npos) << streams;
  EXPECT_NE(streams.find("pcm_s16le|audio|44100|2"), std::string::npos) << streams;

  const std::string recorded = decodeSound(file, "");
  EXPECT_EQ(recorded.size(), size_t(44100 * 3 / 2) * 4);
  // Beat 0 of the soundtrack is sample 0 of the file's sound.
  const std::string reference = decodeSound(kSoundtrack, "-t 1.5");
  ASSERT_EQ(reference.size(), recorded.size());
  EXPECT_TRUE(reference == recorded);
}

TEST_F(AviSoundtrack, RecordingFromALaterSceneStartsTheSoundThere) {
  const std::string file = ::testing::TempDir() + "later-scene.avi";
  ASSERT_TRUE(openAvi(file.c_str(), kFps, kWidth, kHeight));
  ASSERT_TRUE(attachAviSoundtrack(kSoundtrack.c_str()));
  startAviSoundtrackAt(2.0);
  writeFrames(30);
  testing::internal::CaptureStdout();
  startAviSoundtrackAt(1.0);  // after the first frame: refused, said once
  const std::string said = testing::internal::GetCapturedStdout();
  EXPECT_NE(said.find("cannot start at 1.00 s"), std::string::npos) << said;
  closeAvi();
  const std::string recorded = decodeSound(file, "");
  const std::string reference = decodeSound(kSoundtrack, "-ss 2 -t 1");
  ASSERT_EQ(recorded.size(), size_t(44100) * 4);
  ASSERT_EQ(reference.size(), recorded.size());
  EXPECT_TRUE(reference == recorded);
}

TEST_F(AviSoundtrack, MissingOrLateSoundLeavesAValidSilentFile) {
  testsupport::MessageLog log;
  const std::string file = ::testing::TempDir() + "silent.avi";
  ASSERT_TRUE(openAvi(file.c_str(), kFps, kWidth, kHeight));
  testing::internal::CaptureStdout();
  EXPECT_FALSE(attachAviSoundtrack("no-such-soundtrack.mp3"));
  // An endless device is refused at once, not probed for ever.
  EXPECT_FALSE(attachAviSoundtrack("/dev/zero"));
  writeFrames(3);
  EXPECT_FALSE(attachAviSoundtrack(kSoundtrack.c_str()));  // after the first frame
  const std::string said = testing::internal::GetCapturedStdout();
  EXPECT_NE(said.find("recording without sound"), std::string::npos) << said;
  closeAvi();
  EXPECT_TRUE(log.boxes.empty());
  EXPECT_EQ(probeStreams(file), "mpeg4|video\n");
}

TEST_F(AviSoundtrack, FileClosedBeforeItsFirstFrameIsStillReadable) {
  const std::string file = ::testing::TempDir() + "no-frames.avi";
  ASSERT_TRUE(openAvi(file.c_str(), kFps, kWidth, kHeight));
  ASSERT_TRUE(attachAviSoundtrack(kSoundtrack.c_str()));
  closeAvi();
  const std::string streams = probeStreams(file);
  EXPECT_NE(streams.find("mpeg4|video"), std::string::npos) << streams;
  EXPECT_NE(streams.find("pcm_s16le|audio"), std::string::npos) << streams;
}

}  // namespace
