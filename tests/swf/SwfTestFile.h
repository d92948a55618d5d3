// Builds small movie files byte by byte for the reader and player tests:
// a header, then tags in the short or long length form.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SwfWriter.h"  // the writer tool's bit packer

namespace swftest {

using Bytes = std::vector<uint8_t>;
using movies::SwfBitWriter;

class TestFile {
 public:
  explicit TestFile(int frameCount = 1) : frameCount_(frameCount) {}

  TestFile& tag(int code, const Bytes& body, bool longForm = false) {
    SwfBitWriter out;
    if (longForm || body.size() >= 63) {
      out.writeU16(static_cast<unsigned>(code << 6 | 0x3F));
      out.writeU32(static_cast<uint32_t>(body.size()));
    } else {
      out.writeU16(static_cast<unsigned>(code << 6 | body.size()));
    }
    tags_.insert(tags_.end(), out.bytes().begin(), out.bytes().end());
    tags_.insert(tags_.end(), body.begin(), body.end());
    return *this;
  }
  TestFile& tag(int code, SwfBitWriter& body, bool longForm = false) {
    return tag(code, body.bytes(), longForm);
  }
  TestFile& showFrame() { return tag(1, Bytes{}); }
  TestFile& end() { return tag(0, Bytes{}); }

  // The whole file; the stage is 100 x 100 pixels (a 7-byte RECT), so a
  // header with an End tag is 21 bytes. lengthField 0: the true length.
  Bytes bytes(uint32_t lengthField = 0) const {
    SwfBitWriter header;
    for (char c : std::string("FWS")) header.writeU8(static_cast<uint8_t>(c));
    header.writeU8(6);
    header.writeU32(0);
    header.writeUBits(12, 5);
    for (int v : {0, 2000, 0, 2000}) header.writeSBits(v, 12);
    header.writeU8(0);
    header.writeU8(24);
    header.writeU16(static_cast<unsigned>(frameCount_));
    Bytes file = header.bytes();
    file.insert(file.end(), tags_.begin(), tags_.end());
    uint32_t length = lengthField ? lengthField : static_cast<uint32_t>(file.size());
    for (int i = 0; i < 4; ++i) file[4 + i] = static_cast<uint8_t>(length >> (8 * i));
    return file;
  }

 private:
  int frameCount_;
  Bytes tags_;
};

// MATRIX with optional scale, no rotation, and a translation.
inline void writeMatrix(SwfBitWriter& out, int tx, int ty, bool scale = false, int sx = 65536,
                        int sy = 65536) {
  out.writeUBits(scale ? 1 : 0, 1);
  if (scale) {
    out.writeUBits(20, 5);
    out.writeSBits(sx, 20);
    out.writeSBits(sy, 20);
  }
  out.writeUBits(0, 1);
  out.writeUBits(20, 5);
  out.writeSBits(tx, 20);
  out.writeSBits(ty, 20);
  out.align();
}

// CXFORM with alpha, multiply terms only.
inline void writeAlphaCxform(SwfBitWriter& out, int r, int g, int b, int a) {
  out.writeUBits(0, 1);
  out.writeUBits(1, 1);
  out.writeUBits(12, 4);
  for (int v : {r, g, b, a}) out.writeSBits(v, 12);
  out.align();
}

// DefineShape (code 2) or DefineShape3 (32) body: bounds 0..width twips,
// one solid fill, no lines, then the shape records written by `records`.
template <typename Records>
Bytes shapeBody(int id, bool withAlpha, uint8_t r, uint8_t g, uint8_t b, uint8_t a,
                Records records) {
  SwfBitWriter out;
  out.writeU16(static_cast<unsigned>(id));
  out.writeUBits(16, 5);
  for (int v : {0, 400, 0, 400}) out.writeSBits(v, 16);
  out.writeU8(1);
  out.writeU8(0);
  for (uint8_t c : {r, g, b}) out.writeU8(c);
  if (withAlpha) out.writeU8(a);
  out.writeU8(0);  // no line styles
  out.writeUBits(1, 4);
  out.writeUBits(0, 4);
  records(out);
  out.align();
  return out.bytes();
}

// A rectangle outline from the origin: one general line to (w, h).
inline Bytes squareShape(int id, int w = 400, int h = 400) {
  return shapeBody(id, false, 255, 0, 0, 255, [=](SwfBitWriter& out) {
    out.writeUBits(1, 1);
    out.writeUBits(1, 1);
    out.writeUBits(14, 4);  // 16 bits
    out.writeUBits(1, 1);
    out.writeSBits(w, 16);
    out.writeSBits(h, 16);
    out.writeUBits(0, 6);
  });
}

// PlaceObject2 body. characterId 0: a move. alpha: the alpha multiply.
inline Bytes place2(int depth, int characterId, int tx, int ty, int alpha = 256,
                    bool matrix = true, bool cxform = true) {
  SwfBitWriter out;
  int flags = (characterId ? 0x02 : 0x01) | (matrix ? 0x04 : 0) | (cxform ? 0x08 : 0);
  out.writeU8(static_cast<unsigned>(flags));
  out.writeU16(static_cast<unsigned>(depth));
  if (characterId) out.writeU16(static_cast<unsigned>(characterId));
  if (matrix) writeMatrix(out, tx, ty);
  if (cxform) writeAlphaCxform(out, 256, 256, 256, alpha);
  return out.bytes();
}

inline Bytes remove2(int depth) { return {static_cast<uint8_t>(depth), static_cast<uint8_t>(depth >> 8)}; }

// DoAction bodies in the two command forms.
inline Bytes getUrlAction(const std::string& url, const std::string& target) {
  SwfBitWriter out;
  out.writeU8(0x83);
  out.writeU16(static_cast<unsigned>(url.size() + target.size() + 2));
  out.writeString(url);
  out.writeString(target);
  out.writeU8(0);
  return out.bytes();
}

inline void pushString(SwfBitWriter& out, const std::string& text) {
  out.writeU8(0x96);
  out.writeU16(static_cast<unsigned>(text.size() + 2));
  out.writeU8(0);
  out.writeString(text);
}

inline Bytes fsCommandAction(const std::string& marker, const std::string& command) {
  SwfBitWriter out;
  pushString(out, marker);
  if (!command.empty()) pushString(out, command);
  out.writeU8(0x9A);
  out.writeU16(1);
  out.writeU8(0);
  out.writeU8(0);
  return out.bytes();
}

}  // namespace swftest
