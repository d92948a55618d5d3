// MusicStream on the real soundtrack through SDL2_mixer (the dummy driver
// where no sound device exists).
#include "show/MusicStream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/Audio.h"
#include "platform/Clock.h"
#include "platform/FileRead.h"
#include "platform/MessageBox.h"
#include "support/MessageLog.h"

namespace {

const std::string kSoundtrack = std::string(ZOLT_OUTPUT_DIR) + "/zolt.mp3";

using testsupport::MessageLog;

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Waits (bounded) until the position moves away from `from`.
bool waitForMove(MusicStream& music, int from, int limitMs) {
  const uint32_t start = platform::wallMilliseconds();
  while (platform::wallMilliseconds() - start < uint32_t(limitMs)) {
    if (music.positionMs() != from) return true;
    sleepMs(1);
  }
  return false;
}

}  // namespace

TEST(MusicStream, OpensPausedAtZeroAndStaysThereUntilUnpaused) {
  MessageLog log;
  MusicStream music;
  music.open(kSoundtrack.c_str());
  ASSERT_TRUE(music.isOpen());
  EXPECT_TRUE(log.boxes.empty());
  sleepMs(150);
  EXPECT_EQ(music.positionMs(), 0);
  EXPECT_FLOAT_EQ(music.positionSeconds(), 0.0f);
}

TEST(MusicStream, SeeksInMillisecondsAndPlaysOnFromThere) {
  MusicStream music;
  music.open(kSoundtrack.c_str());
  ASSERT_TRUE(music.isOpen());
  music.seek(73846);  // beat 160, where the credits start
  EXPECT_NEAR(music.positionMs(), 73846, 1);
  sleepMs(100);
  EXPECT_NEAR(music.positionMs(), 73846, 1) << "a paused stream must not move";

  music.unpause();
  const uint32_t started = platform::wallMilliseconds();
  ASSERT_TRUE(waitForMove(music, music.positionMs(), 2000));
  sleepMs(400);
  const double wall = platform::wallMilliseconds() - started;
  const int position = music.positionMs();
  // Playback runs in real time: the position moved about as far as the wall
  // clock, give or take a few mixing buffers.
  EXPECT_GT(position, 73846 + wall - 150);
  EXPECT_LT(position, 73846 + wall + 150);

  // Interpolated seconds sit between the library's steps and never go back.
  float previous = music.positionSeconds();
  for (int i = 0; i < 50; ++i) {
    sleepMs(2);
    float now = music.positionSeconds();
    EXPECT_GE(now, previous);
    EXPECT_NEAR(now, music.positionMs() * 0.001f, 0.1f);
    previous = now;
  }

  music.seek(1000);
  EXPECT_NEAR(music.positionMs(), 1000, 60) << "seeking while playing";
  EXPECT_LT(music.positionSeconds(), 1.2f);
}

TEST(MusicStream, MissingFileShowsItsNameAndLeavesASilentStream) {
  MessageLog log;
  MusicStream music;
  const std::string missing = std::string(ZOLT_OUTPUT_DIR) + "/no-such-music.mp3";
  music.open(missing.c_str());
  ASSERT_EQ(log.boxes.size(), 1u);
  EXPECT_EQ(log.boxes[0].caption, "Cannot find file");
  EXPECT_EQ(log.boxes[0].text, missing);
  EXPECT_FALSE(music.isOpen());
  // Every later call is harmless and time stands still.
  music.seek(5000);
  music.unpause();
  EXPECT_EQ(music.positionMs(), 0);
  EXPECT_FLOAT_EQ(music.positionSeconds(), 0.0f);
}

// What stands there is said; nothing is allocated for a folder's or a
// device's "size", nothing over the bound is read.
TEST(MusicStream, AnythingButARegularFileOfSaneSizeIsRefused) {
  const std::string large = ::testing::TempDir() + "music-large.mp3";
  std::ofstream(large).close();
  std::filesystem::resize_file(large, platform::kSoundFileLimit + 1);  // sparse: no disk used
  for (const std::string& path : {::testing::TempDir(), std::string("/dev/zero"), large}) {
    MessageLog log;
    MusicStream music;
    music.open(path.c_str());
    ASSERT_EQ(log.boxes.size(), 1u) << path;
    EXPECT_EQ(log.boxes[0].text.rfind(path + "\nis ", 0), 0u) << log.boxes[0].text;
    EXPECT_FALSE(music.isOpen());
  }
  std::filesystem::remove(large);
}

TEST(MusicStream, FileThatIsNotMusicIsReportedAndNotPlayed) {
  const std::string junk = ::testing::TempDir() + "not-music.mp3";
  FILE* f = std::fopen(junk.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("this is a text file, not an mp3 stream\n", f);
  std::fclose(f);
  MessageLog log;
  MusicStream music;
  music.open(junk.c_str());
  std::remove(junk.c_str());
  ASSERT_EQ(log.boxes.size(), 1u);
  EXPECT_EQ(log.boxes[0].caption, "Cannot play music");
  EXPECT_FALSE(music.isOpen());
  EXPECT_EQ(music.positionMs(), 0);
}

TEST(MusicStream, ReopeningReplacesTheStreamAndStartsPausedAtZero) {
  MusicStream music;
  music.open(kSoundtrack.c_str());
  music.seek(20000);
  music.unpause();
  music.open(kSoundtrack.c_str());
  ASSERT_TRUE(music.isOpen());
  sleepMs(100);
  EXPECT_EQ(music.positionMs(), 0);
}

TEST(MusicStream, WithoutASoundDeviceRunsSilentOnTheWallClock) {
  platform::setSoundOutputWanted(false);
  {
    MessageLog log;
    MusicStream music;
    music.open(kSoundtrack.c_str());
    ASSERT_TRUE(music.isOpen());
    EXPECT_TRUE(log.boxes.empty());
    sleepMs(100);
    EXPECT_EQ(music.positionMs(), 0) << "a silent stream opens paused too";

    music.seek(73846);
    music.unpause();
    const uint32_t started = platform::wallMilliseconds();
    sleepMs(300);
    const int wall = int(platform::wallMilliseconds() - started);
    // The position follows the wall clock to the millisecond or so.
    EXPECT_NEAR(music.positionMs(), 73846 + wall, 5);
    EXPECT_NEAR(music.positionSeconds(), (73846 + wall) * 0.001f, 0.01f);

    // The show's bounded spin for the first step ends at once.
    const int from = music.positionMs();
    EXPECT_TRUE(waitForMove(music, from, 100));

    music.seek(1000);
    EXPECT_NEAR(music.positionMs(), 1000, 5);
    EXPECT_LT(music.positionSeconds(), 1.1f);
  }
  platform::setSoundOutputWanted(true);
  platform::Music music;
  EXPECT_TRUE(music.outputOpen()) << "the next stream may use the device again";
}

TEST(MusicStream, PlaybackDecoderHonoursTheGaplessTagSoBeatZeroIsAtZero) {
  // The same decoder that plays the show must skip the encoder's delay: then
  // it reports exactly the rendered length (460 beats at 130 BPM), where an
  // untrimmed stream would be a frame and the delay longer.
  FILE* f = std::fopen(kSoundtrack.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  std::vector<unsigned char> bytes(8u << 20);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  std::fclose(f);
  platform::Music music;
  ASSERT_TRUE(music.openFromMemory(bytes.data(), bytes.size())) << music.lastError();
  const double renderedMs = 460 * 60000.0 / 130.0;
  EXPECT_NEAR(music.lengthMs(), renderedMs, 2.0);
}
