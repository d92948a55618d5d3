// The exit status a headless pipeline reads (README, "Exit status"): 0 when
// the show played, assets missing or not; 1 when it could not start; 2
// when the recording asked for with /m could not be written whole. Also
// how often, and in how many lines, the failures on the way are told.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "ShowRun.h"
#include "show/PackFile.h"
#include "support/RunCommand.h"

namespace fs = std::filesystem;
using namespace showrun;

// /t300 puts every scene past its end: a run is loading and a frame a scene.
TEST(ExitStatus, ShowThatCannotStartExitsOne) {
  // No archive anywhere it is looked for: one box naming the folders, no
  // window, no file.
  std::string folder = freshFolder("no-archive");
  linkMusic(folder);
  Result r = runApart(folder, "/w /m /t300", 120);
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_EQ(countLines(r.output, "[Cannot Find Packfile] trov.qz5 is in none of these folders: " + folder + ", " +
                                     folder + "-apart/bin, " + folder + "-apart/share/zolt"),
            1)
      << r.output;
  EXPECT_FALSE(fs::exists(fs::path(folder) / "wirefall.avi"));

  // A folder in the archive's place opens but cannot be read.
  folder = freshFolder("archive-folder");
  fs::create_directory(fs::path(folder) / "trov.qz5");
  r = run(folder, "/w /t300", "", 120);
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_EQ(countLines(r.output, "Cannot Find Packfile"), 1) << r.output;

  // No window: SDL's dummy driver has no OpenGL.
  folder = freshFolder("no-window");
  linkArchive(folder);
  r = run(folder, "/w /t300", "SDL_VIDEODRIVER=dummy", 120);
  EXPECT_EQ(r.status, 1) << r.output;
  fs::remove_all(folder);
}

TEST(ExitStatus, RecordingThatCannotBeWrittenWholeExitsTwo) {
  // The output cannot be created: a folder stands where the file would.
  std::string folder = freshFolder("avi-folder");
  linkArchive(folder);
  linkMusic(folder);
  fs::create_directory(fs::path(folder) / "wirefall.avi");
  Result r = run(folder, "/w /m /t300", "", 120);
  EXPECT_EQ(r.status, 2) << r.output;
  EXPECT_NE(r.output.find("cannot create wirefall.avi"), std::string::npos) << r.output;

  // A full disk: every write to /dev/full fails with "no space".
  fs::remove(fs::path(folder) / "wirefall.avi");
  fs::create_symlink("/dev/full", fs::path(folder) / "wirefall.avi");
  r = run(folder, "/w /m /t300", "", 120);
  EXPECT_EQ(r.status, 2) << r.output;
  EXPECT_NE(r.output.find("No space left on device"), std::string::npos) << r.output;
  EXPECT_EQ(firstFault(r.output), "");
  fs::remove_all(folder);
}

TEST(ExitStatus, ShowWithMissingPiecesStillExitsZero) {
  // No soundtrack anywhere: its box, a silent recording, status 0.
  std::string folder = freshFolder("no-music");
  linkArchive(folder);
  Result r = runApart(folder, "/w /m /t300", 120);
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(countLines(r.output, "[Cannot find file] zolt.mp3"), 1) << r.output;
  EXPECT_TRUE(fs::exists(fs::path(folder) / "wirefall.avi"));
  fs::remove_all(folder);
}

// Random bytes where the soundtrack should be: the decoder's complaints come
// to one line that names the file, in a recording and in a live run alike.
TEST(ExitStatus, RandomFileForTheMusicIsToldInOneLine) {
  const std::string folder = freshFolder("random-music");
  linkArchive(folder);
  Bytes noise(200000);
  uint32_t state = 12345;
  for (unsigned char& b : noise) b = static_cast<unsigned char>((state = state * 1103515245u + 12345u) >> 24);
  writeBytes(folder + "/zolt.mp3", noise);
  for (const char* switches : {"/w /m /t300", "/w /t300"}) {
    SCOPED_TRACE(switches);
    Result r = run(folder, switches, "", 120);
    EXPECT_EQ(r.status, 0) << r.output;
    int lines = 0;
    for (char c : r.output) lines += c == '\n';
    // The recording's own lines (one for each scene's first frame among
    // them), the one about the file, nothing from libav.
    EXPECT_LE(lines - countLines(r.output, "AVI: scene "), 6) << r.output;
    EXPECT_GE(countLines(r.output, "zolt.mp3"), 1) << r.output;
    EXPECT_EQ(countLines(r.output, "[mp3"), 0) << r.output;
    EXPECT_LE(countLines(r.output, "zolt.mp3"), 2) << r.output;
  }
  fs::remove_all(folder);
}

// A demo.cfg that cannot be read (its stream cut short): the recording
// loses its soundtrack, and the run says so instead of going quietly silent.
TEST(ExitStatus, UnreadableSettingsTextSaysTheRecordingIsSilent) {
  const int row = findPackEntry(PackDirectory, "demo.cfg");
  ASSERT_GE(row, 0);
  Bytes archive = readBytes(std::string(ZOLT_OUTPUT_DIR) + "/trov.qz5");
  ASSERT_FALSE(archive.empty());
  const size_t offset = static_cast<size_t>(PackDirectory.offsets[row]);
  const size_t packed = static_cast<size_t>(PackDirectory.packedSizes[row]);
  std::fill(archive.begin() + static_cast<long>(offset + packed / 2),
            archive.begin() + static_cast<long>(offset + packed), 0);
  const std::string folder = freshFolder("bad-settings");
  writeBytes(folder + "/trov.qz5", archive);
  linkMusic(folder);
  Result r = run(folder, "/w /m /t300", "", 120);
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(countLines(r.output, "[Error Unpacking] demo.cfg"), 1) << r.output;
  EXPECT_EQ(countLines(r.output, "demo.cfg names no music file"), 1) << r.output;
  const std::string streams = testsupport::runAndRead("ffprobe -v error -show_entries stream=codec_type -of csv=p=0 '" +
                                                      folder + "/wirefall.avi'");
  EXPECT_EQ(streams, "video\n");
  fs::remove_all(folder);
}
