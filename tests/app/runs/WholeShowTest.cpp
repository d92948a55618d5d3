// The whole show, headless, end to end: two recordings with a lossless codec
// are the same frame for frame and sample for sample, and a run that checks
// for GL errors after every frame finds none.
#include <gtest/gtest.h>

#include <filesystem>

#include "ShowRun.h"
#include "support/RunCommand.h"

namespace fs = std::filesystem;
using namespace showrun;


TEST(WholeShow, LosslessRecordingsAreIdenticalFrameForFrame) {
  std::string checksums[2];
  for (int i = 0; i < 2; ++i) {
    const std::string folder = freshFolder("determinism-" + std::to_string(i));
    linkArchive(folder);
    linkMusic(folder);
    const Result r = run(folder, "/w /m /f5 /cffv1", "", 600);
    ASSERT_EQ(r.status, 0) << r.output;
    // Decoded, not copied: the pictures and the samples themselves.
    checksums[i] = testsupport::runAndRead("ffmpeg -v error -i '" + folder +
                                           "/wirefall.avi' -map 0 -f framemd5 - 2>&1");
    ASSERT_NE(checksums[i].find("0,"), std::string::npos) << checksums[i];
    ASSERT_NE(checksums[i].find("1,"), std::string::npos) << "no sound stream:\n" << checksums[i];
    fs::remove_all(folder);
  }
  EXPECT_EQ(checksums[0], checksums[1]);
}

TEST(WholeShow, NoGlErrorThroughTheShow) {
  const std::string folder = freshFolder("gl-errors");
  linkArchive(folder);
  linkMusic(folder);
  // /e prints each GL error the loop finds after a frame, then the count.
  const Result r = run(folder, "/w /m /f5 /e", "", 600);
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(countLines(r.output, "GL error 0x"), 0) << r.output;
  EXPECT_NE(r.output.find("GL errors: 0"), std::string::npos) << r.output;
  fs::remove_all(folder);
}
