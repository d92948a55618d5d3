// SwfReader, definition tags: shapes with their extent walk, fonts, font
// records and texts. Only what the movie keeps is read into it.
#include <algorithm>
#include <climits>

#include "swf/SwfMovie.h"
#include "swf/SwfReader.h"

namespace {

int clampToInt(long long v) {
  return static_cast<int>(std::max<long long>(INT_MIN, std::min<long long>(INT_MAX, v)));
}

}  // namespace

SwfReader::Extent SwfReader::walkShapeRecords(SwfBitReader& in, int fillBits, int lineBits,
                                              bool withAlpha) {
  Extent e;
  long long x = 0, y = 0;
  for (;;) {
    bool end = false;
    if (in.readUBits(1)) {  // edge
      bool straight = in.readUBits(1) != 0;
      int bits = static_cast<int>(in.readUBits(4)) + 2;
      if (straight) {
        if (in.readUBits(1)) {  // general line
          x += in.readSBits(bits);
          y += in.readSBits(bits);
        } else if (in.readUBits(1)) {  // vertical
          y += in.readSBits(bits);
        } else {
          x += in.readSBits(bits);
        }
      } else {
        // Control and anchor deltas both move the pen; only the end point
        // enters the extent.
        for (int i = 0; i < 2; ++i) {
          x += in.readSBits(bits);
          y += in.readSBits(bits);
        }
      }
    } else {
      unsigned flags = in.readUBits(5);
      if (flags == 0) {
        end = true;
      } else {
        if (flags & 0x01) {
          int moveBits = static_cast<int>(in.readUBits(5));
          x = in.readSBits(moveBits);
          y = in.readSBits(moveBits);
        }
        if (flags & 0x02) in.readUBits(fillBits);
        if (flags & 0x04) in.readUBits(fillBits);
        if (flags & 0x08) in.readUBits(lineBits);
        if (flags & 0x10) {
          readFillStyles(in, withAlpha, nullptr);
          readLineStyles(in, withAlpha);
          fillBits = static_cast<int>(in.readUBits(4));
          lineBits = static_cast<int>(in.readUBits(4));
        }
      }
    }
    e.maxX = std::max(e.maxX, x);
    e.minX = std::min(e.minX, x);
    e.maxY = std::max(e.maxY, y);
    e.minY = std::min(e.minY, y);
    // Past the tag's end every read is zero, which reads as the end record.
    if (end) return e;
  }
}

void SwfReader::readDefineShape(bool withAlpha) {
  int id = in_.readU16();
  SwfRect bounds = readRect(in_);
  uint32_t solid = 0;
  bool hasSolid = readFillStyles(in_, withAlpha, &solid);
  readLineStyles(in_, withAlpha);
  in_.alignToByte();
  numFillBits_ = static_cast<int>(in_.readUBits(4));
  numLineBits_ = static_cast<int>(in_.readUBits(4));
  Extent e = walkShapeRecords(in_, numFillBits_, numLineBits_, withAlpha);
  SwfShape* shape = movie_->defineShape(id, bounds, clampToInt(e.minX), clampToInt(e.minY),
                                        clampToInt(e.maxX), clampToInt(e.maxY));
  // Without a solid fill the file says nothing of the colour: black, opaque.
  if (hasSolid) {
    shape->colour[0] = ((solid >> 16) & 0xFF) / 255.0f;
    shape->colour[1] = ((solid >> 8) & 0xFF) / 255.0f;
    shape->colour[2] = (solid & 0xFF) / 255.0f;
    shape->colour[3] = ((solid >> 24) & 0xFF) / 255.0f;
  }
}

void SwfReader::readDefineFont() {
  int id = in_.readU16();
  const unsigned tableStart = in_.position();
  unsigned first = in_.readU16();
  unsigned count = first / 2;
  if (id < kFontTableSize) glyphCounts_[id] = static_cast<int>(count);
  std::vector<unsigned> offsets;
  if (count > 0) offsets.push_back(first);
  for (unsigned i = 1; i < count && !in_.overrun; ++i) offsets.push_back(in_.readU16());
  // Glyph shapes are walked and dropped. NOTE: each distinct offset is
  // walked once, up to the next one, so a hostile offset table cannot make
  // the walk quadratic in the tag's length.
  std::sort(offsets.begin(), offsets.end());
  offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
  for (size_t i = 0; i < offsets.size(); ++i) {
    unsigned long long start = static_cast<unsigned long long>(tableStart) + offsets[i];
    if (start >= tagEnd_) break;
    unsigned long long end =
        i + 1 < offsets.size() ? static_cast<unsigned long long>(tableStart) + offsets[i + 1] : tagEnd_;
    in_.setLimit(static_cast<unsigned>(std::min<unsigned long long>(end, tagEnd_)));
    in_.seek(static_cast<unsigned>(start));
    int fillBits = static_cast<int>(in_.readUBits(4));
    int lineBits = static_cast<int>(in_.readUBits(4));
    walkShapeRecords(in_, fillBits, lineBits, false);
  }
  in_.setLimit(tagEnd_);
}

void SwfReader::readDefineFontInfo() {
  int id = in_.readU16();
  unsigned nameLength = in_.readU8();
  std::string name;
  for (unsigned i = 0; i < nameLength; ++i) name.push_back(static_cast<char>(in_.readU8()));
  name = name.c_str();  // kept as a terminated string
  unsigned flags = in_.readU8();
  // The glyph count comes from the font's DefineFont; an id beyond the
  // count table has none, so its record is not kept.
  if (id >= kFontTableSize) return;
  std::string codes;
  for (int i = 0; i < glyphCounts_[id] && !in_.overrun; ++i)
    codes.push_back(static_cast<char>((flags & 0x01) ? in_.readU16() & 0xFF : in_.readU8()));
  movie_->defineFont(id, name, codes);
}

void SwfReader::readDefineText() {
  int id = in_.readU16();
  SwfRect bounds = readRect(in_);
  SwfMatrix matrix = readMatrix(in_);
  int glyphBits = in_.readU8();
  int advanceBits = in_.readU8();
  SwfText* text = movie_->defineText(id, bounds, matrix);
  for (;;) {
    unsigned first = in_.readU8();
    if (first == 0) break;  // also where the tag runs out
    if (first & 0x80) {
      if (first & 0x08) text->fontId = in_.readU16();
      if (first & 0x04) {
        text->colour[0] = in_.readU8() / 256.0f;
        text->colour[1] = in_.readU8() / 256.0f;
        text->colour[2] = in_.readU8() / 256.0f;
      }
      if (first & 0x01) text->xOffset = in_.readU16();
      if (first & 0x02) text->yOffset = in_.readU16();
      if (first & 0x08) text->textHeight = in_.readU16();
    } else {
      // A glyph record replaces the earlier one; only 100 indices fit, the
      // rest are read over.
      int count = static_cast<int>(first);
      text->glyphCount = std::min(count, static_cast<int>(SwfText::kMaxGlyphs));
      in_.alignToByte();
      for (int i = 0; i < count; ++i) {
        int glyph = static_cast<int>(in_.readUBits(glyphBits));
        in_.readUBits(advanceBits);
        if (i < SwfText::kMaxGlyphs) text->glyphs[i] = glyph;
      }
    }
  }
}
