// SwfWriter: bit fields, records and tags of the movie files (see the
// header). Multi-byte integers are little-endian.
#include "SwfWriter.h"

#include <algorithm>
#include <stdexcept>

namespace movies {

namespace {

enum TagCode {
  kEnd = 0, kShowFrame = 1, kDefineShape = 2, kSetBackgroundColor = 9, kDoAction = 12,
  kPlaceObject2 = 26, kRemoveObject2 = 28, kDefineShape3 = 32,
};

void writeRect(SwfBitWriter& out, int xMin, int xMax, int yMin, int yMax) {
  int bits = std::max({signedBitsFor(xMin), signedBitsFor(xMax), signedBitsFor(yMin),
                       signedBitsFor(yMax)});
  out.writeUBits(bits, 5);
  out.writeSBits(xMin, bits);
  out.writeSBits(xMax, bits);
  out.writeSBits(yMin, bits);
  out.writeSBits(yMax, bits);
  out.align();
}

void writeColour(SwfBitWriter& out, SwfRgba c, bool withAlpha) {
  out.writeU8(c.r);
  out.writeU8(c.g);
  out.writeU8(c.b);
  if (withAlpha) out.writeU8(c.a);
}

// A straight edge along one axis.
void writeAxisEdge(SwfBitWriter& out, int delta, bool vertical) {
  int bits = std::max(2, signedBitsFor(delta));
  out.writeUBits(1, 1);  // edge
  out.writeUBits(1, 1);  // straight
  out.writeUBits(bits - 2, 4);
  out.writeUBits(0, 1);  // not a general line
  out.writeUBits(vertical ? 1 : 0, 1);
  out.writeSBits(delta, bits);
}

}  // namespace

void SwfBitWriter::writeUBits(uint32_t value, int bits) {
  for (int i = bits - 1; i >= 0; --i) {
    if (bitsUsed_ == 0) bytes_.push_back(0);
    if ((value >> i) & 1u) bytes_.back() |= static_cast<uint8_t>(0x80u >> bitsUsed_);
    bitsUsed_ = (bitsUsed_ + 1) % 8;
  }
}

void SwfBitWriter::writeSBits(int32_t value, int bits) {
  if (bits < 32 && signedBitsFor(value) > bits) throw std::runtime_error("value does not fit its bit field");
  writeUBits(static_cast<uint32_t>(value), bits);
}

void SwfBitWriter::align() { bitsUsed_ = 0; }

void SwfBitWriter::writeU8(unsigned value) {
  align();
  bytes_.push_back(static_cast<uint8_t>(value));
}

void SwfBitWriter::writeU16(unsigned value) {
  writeU8(value & 0xFF);
  writeU8((value >> 8) & 0xFF);
}

void SwfBitWriter::writeU32(uint32_t value) {
  writeU16(value & 0xFFFF);
  writeU16(value >> 16);
}

void SwfBitWriter::writeString(const std::string& text) {
  for (char c : text) writeU8(static_cast<uint8_t>(c));
  writeU8(0);
}

int signedBitsFor(int32_t value) {
  int bits = 1;
  while (bits < 32 && (value < -(1 << (bits - 1)) || value > (1 << (bits - 1)) - 1)) ++bits;
  return bits;
}

SwfWriter::SwfWriter(int stageWidth, int stageHeight, int frameRate, int frameCount)
    : stageWidth_(stageWidth), stageHeight_(stageHeight), frameRate_(frameRate),
      frameCount_(frameCount) {}

void SwfWriter::writeTag(int code, const std::vector<uint8_t>& body) {
  SwfBitWriter out;
  // Short form for small bodies, the 32-bit length otherwise.
  if (body.size() < 63) {
    out.writeU16(static_cast<unsigned>(code << 6 | body.size()));
  } else {
    out.writeU16(static_cast<unsigned>(code << 6 | 0x3F));
    out.writeU32(static_cast<uint32_t>(body.size()));
  }
  tags_.insert(tags_.end(), out.bytes().begin(), out.bytes().end());
  tags_.insert(tags_.end(), body.begin(), body.end());
}

void SwfWriter::setBackgroundColour(uint8_t r, uint8_t g, uint8_t b) {
  writeTag(kSetBackgroundColor, {r, g, b});
}

void SwfWriter::defineRectangle(int id, int x, int y, int width, int height, SwfRgba fill,
                                bool withAlpha) {
  SwfBitWriter out;
  out.writeU16(id);
  writeRect(out, x, x + width, y, y + height);
  out.writeU8(1);  // one fill style: solid
  out.writeU8(0x00);
  writeColour(out, fill, withAlpha);
  out.writeU8(1);  // one line style, one pixel wide
  out.writeU16(20);
  writeColour(out, fill, withAlpha);
  out.writeUBits(1, 4);  // fill style index bits
  out.writeUBits(1, 4);  // line style index bits
  // Style change: move to the corner, pick fill 1 and line 1.
  int moveBits = std::max(signedBitsFor(x), signedBitsFor(y));
  out.writeUBits(0, 1);
  out.writeUBits(0x01 | 0x04 | 0x08, 5);
  out.writeUBits(moveBits, 5);
  out.writeSBits(x, moveBits);
  out.writeSBits(y, moveBits);
  out.writeUBits(1, 1);  // fill style 1
  out.writeUBits(1, 1);  // line style 1
  writeAxisEdge(out, width, false);
  writeAxisEdge(out, height, true);
  writeAxisEdge(out, -width, false);
  writeAxisEdge(out, -height, true);
  out.writeUBits(0, 6);  // end of shape
  out.align();
  writeTag(withAlpha ? kDefineShape3 : kDefineShape, out.bytes());
}

void SwfWriter::placeObject(int depth, int characterId, int translateX, int translateY,
                            int alphaMultiply) {
  SwfBitWriter out;
  const int kMove = 0x01, kCharacter = 0x02, kMatrix = 0x04, kColourTransform = 0x08;
  out.writeU8(kMatrix | kColourTransform | (characterId ? kCharacter : kMove));
  out.writeU16(depth);
  if (characterId) out.writeU16(characterId);
  // MATRIX: no scale, no rotation, translation only.
  int bits = std::max(signedBitsFor(translateX), signedBitsFor(translateY));
  out.writeUBits(0, 1);
  out.writeUBits(0, 1);
  out.writeUBits(bits, 5);
  out.writeSBits(translateX, bits);
  out.writeSBits(translateY, bits);
  out.align();
  // CXFORM with alpha: multiply terms only, colour unchanged.
  int termBits = std::max(signedBitsFor(256), signedBitsFor(alphaMultiply));
  out.writeUBits(0, 1);  // no add terms
  out.writeUBits(1, 1);  // multiply terms
  out.writeUBits(termBits, 4);
  for (int i = 0; i < 3; ++i) out.writeSBits(256, termBits);
  out.writeSBits(alphaMultiply, termBits);
  out.align();
  writeTag(kPlaceObject2, out.bytes());
}

void SwfWriter::removeObject(int depth) {
  SwfBitWriter out;
  out.writeU16(depth);
  writeTag(kRemoveObject2, out.bytes());
}

void SwfWriter::commandGetUrl(const std::string& command) {
  SwfBitWriter record;
  record.writeString("");  // URL: not looked at
  record.writeString(command);
  SwfBitWriter out;
  out.writeU8(0x83);
  out.writeU16(static_cast<unsigned>(record.bytes().size()));
  for (uint8_t b : record.bytes()) out.writeU8(b);
  out.writeU8(0);  // end of actions
  writeTag(kDoAction, out.bytes());
}

void SwfWriter::commandFsCommand(const std::string& command) {
  SwfBitWriter out;
  for (const std::string& text : {std::string("fscommand:"), command}) {
    out.writeU8(0x96);  // Push, one string
    out.writeU16(static_cast<unsigned>(text.size() + 2));
    out.writeU8(0);
    out.writeString(text);
  }
  out.writeU8(0x9A);  // GetURL2
  out.writeU16(1);
  out.writeU8(0);
  out.writeU8(0);  // end of actions
  writeTag(kDoAction, out.bytes());
}

void SwfWriter::showFrame() { writeTag(kShowFrame, {}); }

std::vector<uint8_t> SwfWriter::finish() {
  writeTag(kEnd, {});
  SwfBitWriter header;
  header.writeU8('F');
  header.writeU8('W');
  header.writeU8('S');
  header.writeU8(6);  // version
  header.writeU32(0);  // length, filled in below
  writeRect(header, 0, stageWidth_ * 20, 0, stageHeight_ * 20);
  header.writeU8(0);  // frame rate, 8.8: no fraction
  header.writeU8(frameRate_);
  header.writeU16(frameCount_);
  std::vector<uint8_t> file = header.bytes();
  file.insert(file.end(), tags_.begin(), tags_.end());
  uint32_t length = static_cast<uint32_t>(file.size());
  for (int i = 0; i < 4; ++i) file[4 + i] = static_cast<uint8_t>(length >> (8 * i));
  return file;
}

}  // namespace movies
