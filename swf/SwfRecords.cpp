// SwfRecords: readers of the fixed records (see the header).
#include "swf/SwfRecords.h"

SwfColourTransform plainColourTransform() {
  SwfColourTransform c;
  c.alphaMultiply = c.redMultiply = c.greenMultiply = c.blueMultiply = 255;
  return c;
}

SwfRect readRect(SwfBitReader& in) {
  in.alignToByte();
  int bits = static_cast<int>(in.readUBits(5));
  SwfRect r;
  r.xMin = in.readSBits(bits);
  r.xMax = in.readSBits(bits);
  r.yMin = in.readSBits(bits);
  r.yMax = in.readSBits(bits);
  return r;
}

SwfMatrix readMatrix(SwfBitReader& in) {
  in.alignToByte();
  SwfMatrix m;
  if (in.readUBits(1)) {
    int bits = static_cast<int>(in.readUBits(5));
    m.scaleX = in.readSBits(bits);
    m.scaleY = in.readSBits(bits);
  }
  if (in.readUBits(1)) {
    int bits = static_cast<int>(in.readUBits(5));
    m.rotateSkew0 = in.readSBits(bits);
    m.rotateSkew1 = in.readSBits(bits);
  }
  int bits = static_cast<int>(in.readUBits(5));
  m.translateX = in.readSBits(bits);
  m.translateY = in.readSBits(bits);
  return m;
}

SwfColourTransform readColourTransform(SwfBitReader& in, bool withAlpha) {
  in.alignToByte();
  SwfColourTransform c;
  bool hasAdd = in.readUBits(1) != 0;
  bool hasMultiply = in.readUBits(1) != 0;
  int bits = static_cast<int>(in.readUBits(4));
  auto term = [&]() { return static_cast<int16_t>(in.readSBits(bits)); };
  if (hasMultiply) {
    c.redMultiply = term();
    c.greenMultiply = term();
    c.blueMultiply = term();
    if (withAlpha) c.alphaMultiply = term();
  }
  if (hasAdd) {
    c.redAdd = term();
    c.greenAdd = term();
    c.blueAdd = term();
    if (withAlpha) c.alphaAdd = term();
  }
  return c;
}

uint32_t readColour(SwfBitReader& in, bool withAlpha) {
  uint32_t red = in.readU8();
  uint32_t green = in.readU8();
  uint32_t blue = in.readU8();
  uint32_t alpha = withAlpha ? in.readU8() : 255u;
  return alpha << 24 | red << 16 | green << 8 | blue;
}

unsigned readStyleCount(SwfBitReader& in) {
  unsigned count = in.readU8();
  if (count == 255) count = in.readU16();
  return count;
}

bool readFillStyles(SwfBitReader& in, bool withAlpha, uint32_t* lastSolid) {
  bool found = false;
  unsigned count = readStyleCount(in);
  // NOTE: a count beyond the tag stops at the tag's end rather than
  // spinning through tens of thousands of zero styles.
  for (unsigned i = 0; i < count && !in.overrun; ++i) {
    unsigned type = in.readU8();
    if (type & 0x10) {  // linear or radial gradient
      readMatrix(in);
      unsigned entries = in.readU8();
      for (unsigned e = 0; e < entries && !in.overrun; ++e) {
        in.readU8();  // ratio
        readColour(in, withAlpha);
      }
    } else if (type & 0x40) {  // bitmap fill
      in.skip(2);
      readMatrix(in);
    } else {
      uint32_t colour = readColour(in, withAlpha);
      if (lastSolid) *lastSolid = colour;
      found = true;
    }
  }
  return found;
}

void readLineStyles(SwfBitReader& in, bool withAlpha) {
  unsigned count = readStyleCount(in);
  for (unsigned i = 0; i < count && !in.overrun; ++i) {
    in.skip(2);  // width
    readColour(in, withAlpha);
  }
}
