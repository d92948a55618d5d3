// Movies a broken tool or a damaged archive could produce: each is refused
// or ignored in an orderly way, never read or written outside its buffers.
#include <gtest/gtest.h>

#include <cmath>

#include "SwfTestFile.h"
#include "swf/swfScript.h"

using namespace swftest;

namespace {

// Runs f and returns what it printed on standard output.
template <typename F>
std::string stdoutOf(F f) {
  testing::internal::CaptureStdout();
  f();
  return testing::internal::GetCapturedStdout();
}

bool loads(const Bytes& file) {
  bool result = false;
  stdoutOf([&] { result = SwfMovie(file.data(), file.size()).loaded; });
  return result;
}

}  // namespace

TEST(SwfMalformed, TruncatedFilesAreRejectedWhole) {
  TestFile good(1);
  good.tag(2, squareShape(1)).tag(26, place2(1, 1, 0, 0)).showFrame().end();
  Bytes file = good.bytes();
  ASSERT_TRUE(loads(file));
  // A header length beyond the bytes given.
  Bytes cut(file.begin(), file.end() - 3);
  EXPECT_FALSE(loads(cut));
  // The same cut with the length fixed up: the last tags run past the end.
  Bytes fixed = cut;
  fixed[4] = static_cast<uint8_t>(fixed.size());
  EXPECT_FALSE(loads(fixed));
  // A tag whose 32-bit length reaches past the end of the file.
  TestFile longTag(1);
  longTag.tag(2, squareShape(1), true).end();
  Bytes overlong = longTag.bytes();
  overlong[19 + 2] = 0xFF;  // low byte of the 32-bit length
  overlong[19 + 5] = 0x7F;
  EXPECT_FALSE(loads(overlong));
  // Every tag fits but no End tag follows.
  EXPECT_FALSE(loads(TestFile(1).tag(2, squareShape(1)).showFrame().bytes()));
  // A lone tag-header byte where the next tag should start.
  Bytes halfHeader = TestFile(1).showFrame().bytes();
  halfHeader.push_back(0);
  halfHeader[4] = static_cast<uint8_t>(halfHeader.size());
  EXPECT_FALSE(loads(halfHeader));
}

TEST(SwfMalformed, RejectedMoviesKeepNothingAndSayWhy) {
  Bytes file = TestFile(4).tag(2, squareShape(1)).tag(26, place2(1, 1, 0, 0)).showFrame().bytes();
  std::string out = stdoutOf([&] {
    SwfMovie movie(file.data(), file.size());
    EXPECT_FALSE(movie.loaded);
    EXPECT_TRUE(movie.frames.empty());
    EXPECT_TRUE(movie.dictionary.empty());
    EXPECT_EQ(movie.frameCount, 0);
    movie.update(2.0);  // a movie without frames enters nothing
    EXPECT_EQ(movie.lastFrame, -1);
  });
  EXPECT_NE(out.find("Rejected movie file: no End tag"), std::string::npos) << out;
}

// The player the registry makes names its entry, once for its two copies,
// also for a file that is not a movie at all.
TEST(SwfMalformed, RejectionsOfANamedEntrySayWhichOnce) {
  Bytes file = TestFile(4).tag(2, squareShape(1)).showFrame().bytes();
  std::string out = stdoutOf([&] { swfScript script(file.data(), true, file.size(), "bar2.swf"); });
  EXPECT_NE(out.find("Rejected movie file bar2.swf: no End tag"), std::string::npos) << out;
  EXPECT_EQ(out.find("Rejected"), out.rfind("Rejected")) << out;
  const Bytes noise = {'C', 'W', 'S', 9, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
  out = stdoutOf([&] { swfScript script(noise.data(), true, noise.size(), "end.swf"); });
  EXPECT_NE(out.find("Rejected movie file end.swf: not an uncompressed movie"), std::string::npos) << out;
  // Unnamed bytes keep the quiet refusal they always had.
  out = stdoutOf([&] { SwfMovie movie(noise.data(), noise.size()); });
  EXPECT_EQ(out, "");
}

TEST(SwfMalformed, SpritesNestedTooDeepOrCutShortAreRejected) {
  Bytes inner = {0, 0, 0, 0};  // id 0, no frames, nothing: no End tag
  EXPECT_FALSE(loads(TestFile(1).tag(39, inner).end().bytes()));
  // Ten sprites, each inside the last.
  Bytes nested = {0x00, 0x00};  // innermost: an End tag only
  for (int level = 0; level < 10; ++level) {
    SwfBitWriter sprite;
    sprite.writeU16(1);
    sprite.writeU16(1);
    Bytes body = sprite.bytes();
    body.insert(body.end(), nested.begin(), nested.end());
    SwfBitWriter header;
    header.writeU16(39u << 6 | 0x3F);
    header.writeU32(static_cast<uint32_t>(body.size()));
    nested = header.bytes();
    nested.insert(nested.end(), body.begin(), body.end());
    nested.push_back(0);  // End of the enclosing loop
    nested.push_back(0);
  }
  TestFile deep(1);
  Bytes file = deep.bytes();
  file.insert(file.end(), nested.begin(), nested.end());
  file[4] = static_cast<uint8_t>(file.size());
  file[5] = static_cast<uint8_t>(file.size() >> 8);
  std::string out = stdoutOf([&] { EXPECT_FALSE(SwfMovie(file.data(), file.size()).loaded); });
  EXPECT_NE(out.find("nested"), std::string::npos) << out;
}

TEST(SwfMalformed, TagsThatReadPastTheirEndSeeZerosNotTheNextTag) {
  // A DoAction without its End action, then a GetURL cut off inside the
  // tag: the actions stop at the tag's end and the following tags still
  // read as they should.
  Bytes action = getUrlAction("", "white,1");
  action.pop_back();  // no End action
  Bytes cutUrl = {0x83, 0x20, 0x00, 0x00, 'w', 'h'};
  TestFile file(1);
  file.tag(12, action).tag(12, cutUrl).tag(2, squareShape(5)).end();
  Bytes bytes = file.bytes();
  bool loaded = false;
  stdoutOf([&] {
    SwfMovie movie(bytes.data(), bytes.size());
    loaded = movie.loaded;
    ASSERT_EQ(movie.frames.at(0)->actions.size(), 2u);
    EXPECT_EQ(movie.frames[0]->actions[0], (SwfArguments{"white", "1"}));
    EXPECT_EQ(movie.frames[0]->actions[1], (SwfArguments{"wh"}));
    EXPECT_EQ(movie.dictionary.count(5), 1u);
  });
  EXPECT_TRUE(loaded);
}

TEST(SwfMalformed, FontIdsBeyondTheCountTableAreIgnored) {
  SwfBitWriter font;
  font.writeU16(300);
  font.writeU16(2);
  font.writeU8(0x00);
  SwfBitWriter info;
  info.writeU16(300);
  info.writeU8(1);
  info.writeU8('F');
  info.writeU8(0);
  info.writeU8('a');
  Bytes file = TestFile(1).tag(10, font).tag(13, info).end().bytes();
  SwfMovie movie(file.data(), file.size());
  EXPECT_TRUE(movie.loaded);
  EXPECT_TRUE(movie.fonts.empty());
}

TEST(SwfMalformed, DepthsAndIdsOutsideTheMovieAreIgnored) {
  TestFile file(2);
  file.tag(2, squareShape(1))
      .tag(26, place2(20, 1, 0, 0))      // depth 20: there are 20 layers, 0..19
      .tag(26, place2(65535, 1, 0, 0))
      .tag(26, place2(4, 99, 0, 0))      // id 99 was never defined
      .tag(28, remove2(300))
      .showFrame()
      .end();
  Bytes bytes = file.bytes();
  SwfMovie movie(bytes.data(), bytes.size());
  ASSERT_TRUE(movie.loaded);
  movie.update(1.0);
  for (const SwfLayer& layer : movie.layers) EXPECT_TRUE(layer.instances.empty());
}

TEST(SwfMalformed, PlayersWithNothingToPlay) {
  float colour[4] = {9, 9, 9, 9};
  // A null source: the message, then every call does nothing.
  std::string out = stdoutOf([&] {
    swfScript none(nullptr, true, 0);
    none.requestColour(1, colour);
    none.registerCommand("white", [](SwfMovie*, SwfArguments) { return 0; });
    none.update(3.5);
    EXPECT_FALSE(none.loaded());
  });
  EXPECT_EQ(out, "screwup in swfScript constructor\n");
  EXPECT_EQ(colour[3], 9.0f);

  // A path that cannot be opened, and a movie whose frame count is 0.
  out = stdoutOf([&] {
    swfScript missing("/nonexistent/zolt/movie.swf", false, 0);
    EXPECT_FALSE(missing.loaded());
    missing.update(1.0);
  });
  EXPECT_NE(out.find("File not found: /nonexistent/zolt/movie.swf"), std::string::npos);
  Bytes noFrames = TestFile(0).tag(2, squareShape(1)).tag(26, place2(1, 1, 0, 0)).showFrame().end().bytes();
  swfScript empty(noFrames.data(), true, noFrames.size());
  ASSERT_TRUE(empty.loaded());
  empty.update(5.0);  // no division by a frame count of 0
  EXPECT_EQ(empty.current->lastFrame, -1);
  empty.update(std::nan(""));
  EXPECT_EQ(empty.current->lastFrame, -1);
}

TEST(SwfMalformed, RequestsOnEmptyOrMissingLayers) {
  TestFile file(3);
  file.tag(2, squareShape(1)).tag(26, place2(1, 1, 2000, 0, 256)).showFrame();
  file.showFrame();
  file.tag(28, remove2(1)).showFrame().end();
  Bytes bytes = file.bytes();
  swfScript script(bytes.data(), true, bytes.size(), "layers.swf");
  float colour[4] = {}, outside[2] = {7, 7}, empty[2] = {7, 7};
  std::string out = stdoutOf([&] {
    script.requestColour(20, outside);
    script.requestColour(-1, outside);
    script.requestColour(1, nullptr);
  });
  EXPECT_EQ(script.requests.size(), 0u);
  EXPECT_NE(out.find("ignored"), std::string::npos);
  script.requestColour(1, colour);
  script.requestPosition(2, empty);
  // Frame 1 with the ahead copy at frame 2, where the object is gone: the
  // value holds instead of fading towards nothing.
  out = stdoutOf([&] { script.update(1.5); });
  EXPECT_FLOAT_EQ(colour[3], 1.0f);
  EXPECT_EQ(empty[0], 0.0f);  // an empty layer yields zeros
  EXPECT_EQ(out, "Error in swfScript::update, requested layer has no objects (layers.swf, layer 2)\n");
  EXPECT_EQ(stdoutOf([&] { script.update(1.6); }), "") << "said once, not every frame";
  out = stdoutOf([&] { script.update(2.0); });
  EXPECT_EQ(colour[3], 0.0f);
}
