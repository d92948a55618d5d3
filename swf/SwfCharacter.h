// SwfCharacter: what a defined character of a movie is once read — one box
// and one colour — and how placing transforms it.
//
// Shapes keep the box their outline passes through (corners in twips) and
// the colour of their solid fill; texts keep their glyph indices and style.
// Transforms always start from the character's own corners and colour, so a
// new matrix or colour transform replaces the previous one.
#pragma once

#include <memory>
#include <string>

#include "gfx/MathUtil.h"
#include "swf/SwfRecords.h"

struct SwfPoint {
  float x = 0.0f, y = 0.0f;
};

enum SwfCharacterKind { kSwfText = 1, kSwfShape = 2 };

class SwfCharacter {
 public:
  virtual ~SwfCharacter() = default;
  // A new heap copy of the whole record, of its concrete type.
  virtual std::unique_ptr<SwfCharacter> clone() const = 0;

  float colour[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  float transformedColour[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  float textTranslation[2] = {0.0f, 0.0f};  // pixels, texts only
  float translation[2] = {0.0f, 0.0f};      // pixels, set by applyMatrix
  float width = 0.0f, height = 0.0f;        // pixels, declared bounds
  Vec3 boundsMin, boundsMax;                // pixels, declared bounds
  SwfPoint corners[4];                      // twips
  SwfPoint transformedCorners[4];
  int id = 0;
  int kind = 0;

 protected:
  SwfCharacter(int kind, int id, const SwfRect& bounds);
};

class SwfShape : public SwfCharacter {
 public:
  // minX..maxY: the extent of the outline in twips (origin included).
  SwfShape(int id, const SwfRect& bounds, int minX, int minY, int maxX, int maxY);
  std::unique_ptr<SwfCharacter> clone() const override;

  Vec3 extentMin, extentMax;  // pixels
};

class SwfText : public SwfCharacter {
 public:
  static const int kMaxGlyphs = 100;
  SwfText(int id, const SwfRect& bounds, const SwfMatrix& matrix);
  std::unique_ptr<SwfCharacter> clone() const override;

  int glyphCount = 0;  // never more than kMaxGlyphs
  int glyphs[kMaxGlyphs] = {};
  int textHeight = 0;
  int xOffset = 0;
  int yOffset = 0;
  int fontId = 0;
};

struct SwfFont {
  int id = 0;
  std::string name;
  std::string codes;  // one byte per glyph
};

// Places the character's own corners by the matrix; translation in pixels.
void applyMatrix(SwfCharacter& instance, const SwfMatrix& m);
// Recolours the character's own colour; no clamping.
void applyColourTransform(SwfCharacter& instance, const SwfColourTransform& c);
