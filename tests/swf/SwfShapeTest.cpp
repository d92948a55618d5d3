#include <gtest/gtest.h>

#include "SwfTestFile.h"
#include "swf/SwfCharacter.h"
#include "swf/SwfReader.h"

using namespace swftest;

namespace {

SwfReader::Extent walk(const std::function<void(SwfBitWriter&)>& records) {
  SwfBitWriter out;
  records(out);
  out.align();
  SwfBitReader in(out.bytes().data(), static_cast<unsigned>(out.bytes().size()));
  return SwfReader::walkShapeRecords(in, 1, 1, false);
}

void straightX(SwfBitWriter& out, int dx) {
  out.writeUBits(0b11, 2);
  out.writeUBits(8, 4);  // 10 bits
  out.writeUBits(0, 1);  // not general
  out.writeUBits(0, 1);  // horizontal
  out.writeSBits(dx, 10);
}

}  // namespace

TEST(SwfShapeExtent, MoveToAndEdgesIncludeTheOrigin) {
  auto e = walk([](SwfBitWriter& out) {
    out.writeUBits(0, 1);
    out.writeUBits(0x01, 5);
    out.writeUBits(10, 5);
    out.writeSBits(100, 10);
    out.writeSBits(200, 10);
    straightX(out, 50);
    out.writeUBits(0, 6);
  });
  EXPECT_EQ(e.minX, 0);
  EXPECT_EQ(e.maxX, 150);
  EXPECT_EQ(e.minY, 0);
  EXPECT_EQ(e.maxY, 200);
}

TEST(SwfShapeExtent, CurveControlPointDoesNotWidenTheExtent) {
  auto e = walk([](SwfBitWriter& out) {
    out.writeUBits(0b10, 2);  // curved edge
    out.writeUBits(10, 4);    // 12 bits
    for (int v : {0, 400, 200, -400}) out.writeSBits(v, 12);
    out.writeUBits(0, 6);
  });
  EXPECT_EQ(e.maxY, 0);
  EXPECT_EQ(e.maxX, 200);
}

TEST(SwfShapeExtent, EmptyShapeAndNewStylesInsideTheRecords) {
  auto empty = walk([](SwfBitWriter& out) { out.writeUBits(0, 6); });
  EXPECT_EQ(empty.minX, 0);
  EXPECT_EQ(empty.maxX, 0);
  EXPECT_EQ(empty.maxY, 0);
  // A new-styles record: style arrays on a fresh byte, then new index widths;
  // the edge after it must still be read from the right bit.
  auto styled = walk([](SwfBitWriter& out) {
    out.writeUBits(0, 1);
    out.writeUBits(0x10, 5);
    out.writeU8(1);  // one solid fill
    out.writeU8(0);
    for (int c : {1, 2, 3}) out.writeU8(static_cast<unsigned>(c));
    out.writeU8(0);  // no lines
    out.writeUBits(2, 4);
    out.writeUBits(0, 4);
    straightX(out, -30);
    out.writeUBits(0, 6);
  });
  EXPECT_EQ(styled.minX, -30);
  EXPECT_EQ(styled.maxX, 0);
}

TEST(SwfShapeExtent, TruncatedRecordsEndAtTheLimit) {
  // An edge that claims more bits than there are: the walk stops at the end
  // of the data with what it saw.
  const unsigned char data[] = {0xFF};
  SwfBitReader in(data, 1);
  auto e = SwfReader::walkShapeRecords(in, 1, 1, false);
  EXPECT_TRUE(in.overrun);
  EXPECT_LE(e.minX, 0);
}

TEST(SwfCharacterTransforms, MatrixMovesCornersByPixelTranslation) {
  SwfShape shape(1, SwfRect{0, 400, 0, 200}, 0, 0, 400, 200);
  EXPECT_FLOAT_EQ(shape.width, 20.0f);
  EXPECT_FLOAT_EQ(shape.extentMax.x, 20.0f);
  EXPECT_FLOAT_EQ(shape.corners[2].x, 400.0f);  // corners stay in twips
  SwfMatrix m;
  m.translateX = 2000;
  applyMatrix(shape, m);
  EXPECT_FLOAT_EQ(shape.translation[0], 100.0f);
  EXPECT_FLOAT_EQ(shape.transformedCorners[0].x, 100.0f);
  EXPECT_FLOAT_EQ(shape.transformedCorners[2].x, 500.0f);
  EXPECT_FLOAT_EQ(shape.transformedCorners[2].y, 200.0f);
  // Applying again starts from the character's own corners.
  m.scaleX = 2 * 65536;
  applyMatrix(shape, m);
  EXPECT_FLOAT_EQ(shape.transformedCorners[2].x, 900.0f);
}

TEST(SwfCharacterTransforms, ColourTransformScalesAndAddsWithoutClamping) {
  SwfShape shape(1, SwfRect{}, 0, 0, 0, 0);
  shape.colour[0] = 0.75f;
  shape.colour[3] = 1.0f;
  SwfColourTransform c;
  c.redMultiply = 512;
  applyColourTransform(shape, c);
  EXPECT_FLOAT_EQ(shape.transformedColour[0], 1.5f);
  c.redMultiply = 256;
  c.redAdd = 256;
  applyColourTransform(shape, c);
  EXPECT_FLOAT_EQ(shape.transformedColour[0], 1.75f);
  applyColourTransform(shape, plainColourTransform());
  EXPECT_FLOAT_EQ(shape.transformedColour[3], 255.0f / 256.0f);
}

TEST(SwfCharacterTransforms, CloneCopiesTheConcreteRecord) {
  SwfText text(3, SwfRect{}, SwfMatrix());
  text.glyphCount = 2;
  text.glyphs[1] = 42;
  std::unique_ptr<SwfCharacter> copy = text.clone();
  ASSERT_EQ(copy->kind, kSwfText);
  EXPECT_EQ(static_cast<SwfText&>(*copy).glyphs[1], 42);
  EXPECT_NE(copy.get(), &text);
}
