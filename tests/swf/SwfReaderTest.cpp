#include <gtest/gtest.h>

#include "SwfTestFile.h"
#include "swf/SwfMovie.h"
#include "swf/SwfReader.h"

using namespace swftest;

namespace {

std::unique_ptr<SwfMovie> readMovie(const Bytes& file) {
  return std::make_unique<SwfMovie>(file.data(), file.size());
}

}  // namespace

TEST(SwfReader, SmallestFileLoadsAsOneEmptyFrame) {
  Bytes file = TestFile(1).end().bytes();
  ASSERT_EQ(file.size(), 21u);
  auto movie = readMovie(file);
  EXPECT_TRUE(movie->loaded);
  ASSERT_EQ(movie->frames.size(), 1u);
  EXPECT_TRUE(movie->frames[0]->displayCommands.empty());
  EXPECT_EQ(movie->stageWidth, 100);
  EXPECT_EQ(movie->frameRate, 24.0);
  EXPECT_EQ(movie->frameCount, 1);
}

TEST(SwfReader, HeaderSignatureAndLengthChecks) {
  Bytes file = TestFile(1).showFrame().end().bytes();
  Bytes compressed = file;
  compressed[0] = 'C';
  EXPECT_FALSE(readMovie(compressed)->loaded);
  auto shortLength = readMovie(TestFile(1).end().bytes(20));
  EXPECT_FALSE(shortLength->loaded);
  EXPECT_TRUE(shortLength->frames.empty());
  // A length beyond the bytes given is refused rather than read past.
  auto tooLong = readMovie(TestFile(1).end().bytes(4096));
  EXPECT_FALSE(tooLong->loaded);
  EXPECT_EQ(tooLong->frameCount, 0);
  // Bytes after the announced length are not read: the ShowFrame is cut off
  // together with the End tag, so the file has no End.
  EXPECT_FALSE(readMovie(TestFile(1).showFrame().end().bytes(21))->loaded);
}

TEST(SwfReader, LongTagLengthFormIsHonouredForShortBodies) {
  TestFile file(2);
  file.tag(2, squareShape(7), /*longForm=*/true).tag(26, place2(1, 7, 20, 40), true).showFrame().end();
  auto movie = readMovie(file.bytes());
  ASSERT_TRUE(movie->loaded);
  ASSERT_EQ(movie->dictionary.count(7), 1u);
  ASSERT_EQ(movie->frames[0]->displayCommands.size(), 1u);
  EXPECT_EQ(movie->frames[0]->displayCommands[0].matrix.translateY, 40);
}

TEST(SwfReader, FramesFileCommandsBetweenShowFramesAndSpritesRestartAtZero) {
  // Two ShowFrames: three frames, the last empty. A sprite's own place
  // commands land in frames 0 and 1 again.
  SwfBitWriter sprite;
  sprite.writeU16(9);  // sprite id
  sprite.writeU16(2);  // its frame count
  TestFile inner;
  Bytes spriteTags = TestFile(1)
                         .tag(26, place2(5, 0, 1, 1))
                         .showFrame()
                         .tag(28, remove2(5))
                         .end()
                         .bytes();
  spriteTags.erase(spriteTags.begin(), spriteTags.begin() + 19);  // drop the test header
  for (uint8_t b : spriteTags) sprite.writeU8(b);
  TestFile file(2);
  file.tag(26, place2(1, 0, 0, 0))
      .showFrame()
      .tag(26, place2(2, 0, 0, 0))
      .tag(39, sprite)
      .showFrame()
      .end();
  auto movie = readMovie(file.bytes());
  ASSERT_TRUE(movie->loaded);
  ASSERT_EQ(movie->frames.size(), 3u + 2u);
  ASSERT_EQ(movie->frames[0]->displayCommands.size(), 2u);
  EXPECT_EQ(movie->frames[0]->displayCommands[1].depth, 5);
  ASSERT_EQ(movie->frames[1]->displayCommands.size(), 2u);
  EXPECT_EQ(movie->frames[1]->displayCommands[0].depth, 2);
  EXPECT_EQ(movie->frames[1]->displayCommands[1].code, 5);  // RemoveObject2 is filed as 5
  EXPECT_EQ(movie->frames[1]->displayCommands[1].characterId, 0);
  EXPECT_TRUE(movie->frames[2]->displayCommands.empty());
}

TEST(SwfReader, PlaceObjectWithoutColourTransformCarriesThePlainOne) {
  SwfBitWriter body;
  body.writeU16(3);
  body.writeU16(4);
  writeMatrix(body, 10, 20);
  TestFile file(1);
  file.tag(4, body).tag(5, Bytes{3, 0, 4, 0}).end();
  auto movie = readMovie(file.bytes());
  ASSERT_EQ(movie->frames[0]->displayCommands.size(), 2u);
  const DisplayCommand& place = movie->frames[0]->displayCommands[0];
  EXPECT_EQ(place.code, 4);
  EXPECT_EQ(place.flags, 0);
  EXPECT_EQ(place.characterId, 3);
  EXPECT_EQ(place.depth, 4);
  EXPECT_EQ(place.colourTransform.redMultiply, 255);
  EXPECT_EQ(place.colourTransform.alphaMultiply, 255);
  const DisplayCommand& remove = movie->frames[0]->displayCommands[1];
  EXPECT_EQ(remove.code, 5);
  EXPECT_EQ(remove.characterId, 3);
  EXPECT_EQ(remove.depth, 4);
}

TEST(SwfReader, PlaceObject2StoresOnlyCommandsThatMoveOrRecolour) {
  TestFile file(1);
  file.tag(26, place2(1, 0, 0, 0, 256, false, false))   // neither: dropped
      .tag(26, place2(2, 0, 100, 0, 256, true, false))  // matrix only
      .tag(26, place2(3, 0, 0, 0, 128, false, true))    // colour only
      .end();
  auto movie = readMovie(file.bytes());
  const auto& commands = movie->frames[0]->displayCommands;
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0].depth, 2);
  EXPECT_EQ(commands[0].colourTransform.greenMultiply, 255);
  EXPECT_EQ(commands[1].depth, 3);
  EXPECT_FALSE(commands[1].hasMatrix);
  EXPECT_EQ(commands[1].colourTransform.alphaMultiply, 128);
}

TEST(SwfReader, DoActionCommandForms) {
  SwfBitWriter both;
  // A Push of "FSCOMMAND:", a Push of the command, a GetURL2, then a GetURL
  // in the same tag: the GetURL target comes first, the pushed one last.
  pushString(both, "FSCOMMAND:");
  pushString(both, "setCamera,Camera02");
  both.writeU8(0x9A);
  both.writeU16(1);
  both.writeU8(0);
  Bytes url = getUrlAction("http://ignored", "white,1");
  for (size_t i = 0; i + 1 < url.size(); ++i) both.writeU8(url[i]);
  both.writeU8(0);
  TestFile file(1);
  file.tag(12, both)
      .tag(12, fsCommandAction("fscommand:", ""))
      .tag(12, fsCommandAction("not the marker", "ignored,1"))
      .tag(12, getUrlAction("", ",,,"))  // no fields at all: not a command
      .end();
  auto movie = readMovie(file.bytes());
  const auto& actions = movie->frames[0]->actions;
  ASSERT_EQ(actions.size(), 3u);
  EXPECT_EQ(actions[0], (SwfArguments{"white", "1"}));
  EXPECT_EQ(actions[1], (SwfArguments{"setCamera", "Camera02"}));
  EXPECT_EQ(actions[2], (SwfArguments{"fscommand:"}));
}

TEST(SwfReader, ShapeColourIsTheLastSolidFillAndAlphaComesFromShape3) {
  SwfBitWriter gradientThenRed;
  gradientThenRed.writeU16(1);
  gradientThenRed.writeUBits(0, 5);
  gradientThenRed.align();
  for (uint8_t b : {2, 0x10, 0x00, 1, 0, 0, 255, 0, 0x00, 255, 0, 0}) gradientThenRed.writeU8(b);
  gradientThenRed.writeU8(0);     // no lines
  gradientThenRed.writeU8(0x10);  // style bits
  gradientThenRed.writeU8(0);     // end record
  TestFile file(1);
  file.tag(2, gradientThenRed).tag(32, shapeBody(2, true, 0, 0, 255, 128, [](SwfBitWriter& o) {
    o.writeUBits(0, 6);
  })).end();
  auto movie = readMovie(file.bytes());
  ASSERT_TRUE(movie->loaded);
  const SwfCharacter& red = *movie->dictionary.at(1);
  EXPECT_FLOAT_EQ(red.colour[0], 1.0f);
  EXPECT_FLOAT_EQ(red.colour[1], 0.0f);
  EXPECT_FLOAT_EQ(red.colour[3], 1.0f);
  const SwfCharacter& blue = *movie->dictionary.at(2);
  EXPECT_FLOAT_EQ(blue.colour[2], 1.0f);
  EXPECT_FLOAT_EQ(blue.colour[3], 128.0f / 255.0f);
  EXPECT_EQ(blue.kind, kSwfShape);
}

TEST(SwfReader, FontsAndTexts) {
  // DefineFont 4 with two empty glyphs, DefineFontInfo with wide codes.
  SwfBitWriter font;
  font.writeU16(4);
  font.writeU16(4);  // offset table: two glyphs
  font.writeU16(6);
  font.writeU8(0x10);  // glyph 0: one fill bit, then the end record
  font.writeU8(0x00);
  font.writeU8(0x10);
  font.writeU8(0x00);
  SwfBitWriter info;
  info.writeU16(4);
  info.writeU8(3);
  info.writeString("Ab");  // name length 3 includes the NUL
  info.writeU8(0x01);      // wide codes
  info.writeU16(0x141);
  info.writeU16(0x42);
  // DefineText with a style record and two glyph records.
  SwfBitWriter text;
  text.writeU16(6);
  text.writeUBits(0, 5);
  text.align();
  writeMatrix(text, 200, 400);
  text.writeU8(4);  // glyph bits
  text.writeU8(3);  // advance bits
  text.writeU8(0x80 | 0x08 | 0x04 | 0x01);
  text.writeU16(4);  // font
  for (uint8_t c : {128, 64, 0}) text.writeU8(c);
  text.writeU16(0xFFF0);  // x offset, unsigned
  text.writeU16(360);     // height
  text.writeU8(3);
  for (int g : {1, 2, 3}) text.writeUBits(g, 4), text.writeUBits(0, 3);
  text.writeU8(1);
  text.writeUBits(9, 4);
  text.writeUBits(0, 3);
  text.writeU8(0);
  TestFile file(1);
  file.tag(10, font).tag(13, info).tag(11, text).end();
  auto movie = readMovie(file.bytes());
  ASSERT_TRUE(movie->loaded);
  ASSERT_EQ(movie->fonts.count(4), 1u);
  EXPECT_EQ(movie->fonts.at(4)->name, "Ab");
  EXPECT_EQ(movie->fonts.at(4)->codes, std::string("\x41\x42"));
  const auto& t = static_cast<const SwfText&>(*movie->dictionary.at(6));
  EXPECT_EQ(t.kind, kSwfText);
  EXPECT_EQ(t.fontId, 4);
  EXPECT_EQ(t.textHeight, 360);
  EXPECT_EQ(t.xOffset, 0xFFF0);
  EXPECT_FLOAT_EQ(t.colour[0], 0.5f);
  EXPECT_FLOAT_EQ(t.textTranslation[0], 10.0f);
  EXPECT_EQ(t.glyphCount, 1);  // the second glyph record replaces the first
  EXPECT_EQ(t.glyphs[0], 9);
}

TEST(SwfReader, GlyphRecordsKeepAtMostOneHundredIndices) {
  SwfBitWriter text;
  text.writeU16(6);
  text.writeUBits(0, 5);
  text.align();
  writeMatrix(text, 0, 0);
  text.writeU8(8);
  text.writeU8(0);
  text.writeU8(127);
  for (int g = 0; g < 127; ++g) text.writeUBits(static_cast<uint32_t>(g), 8);
  text.writeU8(0);
  auto movie = readMovie(TestFile(1).tag(11, text).end().bytes());
  const auto& t = static_cast<const SwfText&>(*movie->dictionary.at(6));
  EXPECT_EQ(t.glyphCount, 100);
  EXPECT_EQ(t.glyphs[99], 99);
}
