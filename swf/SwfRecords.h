// SwfRecords: the fixed records of a movie file (RECT, MATRIX, CXFORM,
// colours, style arrays) and the display command a frame keeps.
//
// Coordinates stay in twips as read; matrix scale and rotate terms are
// 16.16 fixed point, colour-transform terms 8.8 (256 = 1.0).
#pragma once

#include <cstdint>

#include "swf/SwfBitReader.h"

struct SwfRect {
  int xMin = 0, xMax = 0, yMin = 0, yMax = 0;
};

// Kept in the file's order: ScaleX, RotateSkew0, RotateSkew1, ScaleY,
// TranslateX, TranslateY.
struct SwfMatrix {
  int scaleX = 65536;
  int rotateSkew0 = 0;
  int rotateSkew1 = 0;
  int scaleY = 65536;
  int translateX = 0;
  int translateY = 0;
};

// Multiply and add terms per channel, alpha first.
struct SwfColourTransform {
  int16_t alphaMultiply = 256, alphaAdd = 0;
  int16_t redMultiply = 256, redAdd = 0;
  int16_t greenMultiply = 256, greenAdd = 0;
  int16_t blueMultiply = 256, blueAdd = 0;
};

// What a place command carries when the file gives no colour transform:
// multiply 255 (not 256) on every channel.
SwfColourTransform plainColourTransform();

// Tag codes a display command can carry.
enum SwfDisplayCode { kPlaceObject = 4, kPlaceObject2 = 26, kRemoveObject = 5 };

struct DisplayCommand {
  int flags = 0;        // PlaceObject2 flag byte, 0 for the other tags
  int depth = 0;        // layer index
  int characterId = 0;  // 0: places nothing new
  SwfMatrix matrix;
  SwfColourTransform colourTransform;
  int code = 0;            // 4, 26 or 5
  bool hasMatrix = true;   // false for a PlaceObject2 that only recolours
};

SwfRect readRect(SwfBitReader& in);
SwfMatrix readMatrix(SwfBitReader& in);
SwfColourTransform readColourTransform(SwfBitReader& in, bool withAlpha);
// RGB or RGBA packed as alpha << 24 | red << 16 | green << 8 | blue.
uint32_t readColour(SwfBitReader& in, bool withAlpha);
// Style array count: a byte, 255 meaning a 16-bit count follows.
unsigned readStyleCount(SwfBitReader& in);
// A fill style array. Returns true and the colour of the last solid fill
// when the array holds one.
bool readFillStyles(SwfBitReader& in, bool withAlpha, uint32_t* lastSolid);
void readLineStyles(SwfBitReader& in, bool withAlpha);
