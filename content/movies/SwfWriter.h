// SwfWriter: writes uncompressed movie files holding exactly the tags and
// fields the show's reader reads: the header, SetBackgroundColor,
// DefineShape and DefineShape3 rectangles, PlaceObject2 with matrices and
// colour transforms with alpha, RemoveObject2, DoAction in its GetURL and
// fscommand forms, ShowFrame and End.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace movies {

// Most significant bit first, as the format lays bit fields out.
class SwfBitWriter {
 public:
  void writeUBits(uint32_t value, int bits);
  void writeSBits(int32_t value, int bits);
  void align();
  void writeU8(unsigned value);
  void writeU16(unsigned value);
  void writeU32(uint32_t value);
  void writeString(const std::string& text);  // with its NUL
  std::vector<uint8_t>& bytes() { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
  int bitsUsed_ = 0;  // bits of the last byte already written (0: aligned)
};

// Bits needed for value as a signed field (at least 1).
int signedBitsFor(int32_t value);

struct SwfRgba {
  uint8_t r = 255, g = 255, b = 255, a = 255;
};

class SwfWriter {
 public:
  SwfWriter(int stageWidth, int stageHeight, int frameRate, int frameCount);

  void setBackgroundColour(uint8_t r, uint8_t g, uint8_t b);
  // A filled, outlined rectangle from (x, y) spanning width x height twips.
  // withAlpha writes DefineShape3 (RGBA colours), else DefineShape (RGB).
  void defineRectangle(int id, int x, int y, int width, int height, SwfRgba fill, bool withAlpha);
  // PlaceObject2 with a translation (twips) and an alpha multiply (8.8).
  // characterId 0 moves what the depth holds.
  void placeObject(int depth, int characterId, int translateX, int translateY, int alphaMultiply);
  void removeObject(int depth);
  // DoAction whose GetURL target is the command.
  void commandGetUrl(const std::string& command);
  // DoAction pushing "fscommand:" and then the command, then GetURL2.
  void commandFsCommand(const std::string& command);
  void showFrame();
  // Writes End and returns the finished file.
  std::vector<uint8_t> finish();

 private:
  void writeTag(int code, const std::vector<uint8_t>& body);

  std::vector<uint8_t> tags_;
  int stageWidth_, stageHeight_, frameRate_, frameCount_;
};

}  // namespace movies
