#include <gtest/gtest.h>

#include "swf/SwfBitReader.h"
#include "swf/SwfRecords.h"

TEST(SwfBitReader, ReadsFieldsMostSignificantBitFirstAcrossBytes) {
  const unsigned char data[] = {0xB5, 0x3C};  // 1011 0101 0011 1100
  SwfBitReader in(data, 2);
  EXPECT_EQ(in.readUBits(3), 5u);       // 101
  EXPECT_EQ(in.readUBits(7), 0x54u);    // 10101 00
  EXPECT_EQ(in.readUBits(6), 0x3Cu);    // 111100
  EXPECT_FALSE(in.overrun);
}

TEST(SwfBitReader, ZeroBitsReadNothingAndSignedFieldsExtend) {
  const unsigned char data[] = {0xC0, 0x7F};
  SwfBitReader in(data, 2);
  EXPECT_EQ(in.readUBits(0), 0u);
  EXPECT_EQ(in.bitsLeft, 0);
  EXPECT_EQ(in.position(), 0u);
  EXPECT_EQ(in.readSBits(1), -1);  // a signed 1-bit field 1
  EXPECT_EQ(in.readSBits(0), 0);
  EXPECT_EQ(in.bitsLeft, 7);
  EXPECT_EQ(in.readSBits(3), -4);  // 100
}

TEST(SwfBitReader, ByteReadsDropThePartlyReadByte) {
  const unsigned char data[] = {0xFF, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12};
  SwfBitReader in(data, sizeof data);
  in.readUBits(3);
  EXPECT_EQ(in.readU16(), 0x1234u);
  EXPECT_EQ(in.readU32(), 0x12345678u);
}

TEST(SwfBitReader, ReadsPastTheLimitGiveZerosAndAreFlagged) {
  const unsigned char data[] = {'a', 'b', 0xFF, 0xFF};
  SwfBitReader in(data, sizeof data);
  in.setLimit(2);
  EXPECT_EQ(in.readString(), "ab");  // cut off by the limit, no NUL seen
  EXPECT_TRUE(in.overrun);
  EXPECT_EQ(in.readU8(), 0u);        // the bytes beyond the limit are not read
  EXPECT_EQ(in.readUBits(12), 0u);
  in.setLimit(100);                  // never beyond the data itself
  EXPECT_EQ(in.limit(), 4u);
}

TEST(SwfRecords, MatrixAndColourTransformDefaultsWhenFieldsAreAbsent) {
  // MATRIX: no scale, no rotation, 3-bit translation (1, -1): 0 0 00011 001 111
  const unsigned char matrix[] = {0x06, 0x78};
  SwfBitReader in(matrix, 2);
  SwfMatrix m = readMatrix(in);
  EXPECT_EQ(m.scaleX, 65536);
  EXPECT_EQ(m.scaleY, 65536);
  EXPECT_EQ(m.rotateSkew0, 0);
  EXPECT_EQ(m.translateX, 1);
  EXPECT_EQ(m.translateY, -1);

  // CXFORM with alpha, add terms only (4 bits): 1 0 0100, then 1, 2, 3, -4.
  const unsigned char cxform[] = {0x90, 0x48, 0xF0};
  SwfBitReader in2(cxform, 3);
  SwfColourTransform c = readColourTransform(in2, true);
  EXPECT_EQ(c.redMultiply, 256);
  EXPECT_EQ(c.alphaMultiply, 256);
  EXPECT_EQ(c.redAdd, 1);
  EXPECT_EQ(c.greenAdd, 2);
  EXPECT_EQ(c.blueAdd, 3);
  EXPECT_EQ(c.alphaAdd, -4);
}

TEST(SwfRecords, StyleCountsUseTheExtendedFormAndSolidFillFollowsGradients) {
  // 255 -> a 16-bit count of 2: a linear gradient (identity matrix, one
  // green entry) then a solid red fill.
  const unsigned char styles[] = {0xFF, 0x02, 0x00, 0x10, 0x00, 0x01, 0x00, 0x00, 0xFF, 0x00,
                                  0x00, 0xFF, 0x00, 0x00};
  SwfBitReader in(styles, sizeof styles);
  uint32_t solid = 0;
  EXPECT_TRUE(readFillStyles(in, false, &solid));
  EXPECT_EQ(solid, 0xFFFF0000u);
  EXPECT_FALSE(in.overrun);
}
