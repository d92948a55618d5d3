// SwfCharacter: character records and their transforms (see the header).
#include "swf/SwfCharacter.h"

namespace {
const float kPixelsPerTwip = 0.05f;
}

SwfCharacter::SwfCharacter(int kindValue, int idValue, const SwfRect& bounds)
    : id(idValue), kind(kindValue) {
  width = (static_cast<float>(bounds.xMax) - static_cast<float>(bounds.xMin)) * kPixelsPerTwip;
  height = (static_cast<float>(bounds.yMax) - static_cast<float>(bounds.yMin)) * kPixelsPerTwip;
  boundsMin = Vec3(bounds.xMin * kPixelsPerTwip, bounds.yMin * kPixelsPerTwip, 0.0f);
  boundsMax = Vec3(bounds.xMax * kPixelsPerTwip, bounds.yMax * kPixelsPerTwip, 0.0f);
}

SwfShape::SwfShape(int idValue, const SwfRect& bounds, int minX, int minY, int maxX, int maxY)
    : SwfCharacter(kSwfShape, idValue, bounds) {
  extentMin = Vec3(minX * kPixelsPerTwip, minY * kPixelsPerTwip, 0.0f);
  extentMax = Vec3(maxX * kPixelsPerTwip, maxY * kPixelsPerTwip, 0.0f);
  const float x0 = static_cast<float>(minX), x1 = static_cast<float>(maxX);
  const float y0 = static_cast<float>(minY), y1 = static_cast<float>(maxY);
  corners[0] = {x0, y0};
  corners[1] = {x1, y0};
  corners[2] = {x1, y1};
  corners[3] = {x0, y1};
}

std::unique_ptr<SwfCharacter> SwfShape::clone() const { return std::make_unique<SwfShape>(*this); }

SwfText::SwfText(int idValue, const SwfRect& bounds, const SwfMatrix& matrix)
    : SwfCharacter(kSwfText, idValue, bounds) {
  textTranslation[0] = matrix.translateX * kPixelsPerTwip;
  textTranslation[1] = matrix.translateY * kPixelsPerTwip;
}

std::unique_ptr<SwfCharacter> SwfText::clone() const { return std::make_unique<SwfText>(*this); }

void applyMatrix(SwfCharacter& instance, const SwfMatrix& m) {
  const float tx = m.translateX * kPixelsPerTwip;
  const float ty = m.translateY * kPixelsPerTwip;
  instance.translation[0] = tx;
  instance.translation[1] = ty;
  const float sx = m.scaleX / 65536.0f, r0 = m.rotateSkew0 / 65536.0f;
  const float r1 = m.rotateSkew1 / 65536.0f, sy = m.scaleY / 65536.0f;
  // NOTE: the corners stay in twips while the translation added is in
  // pixels; readers of the corners scale by 0.05 once more.
  for (int i = 0; i < 4; ++i) {
    const SwfPoint& p = instance.corners[i];
    instance.transformedCorners[i].x = sx * p.x + r1 * p.y + tx;
    instance.transformedCorners[i].y = r0 * p.x + sy * p.y + ty;
  }
}

void applyColourTransform(SwfCharacter& instance, const SwfColourTransform& c) {
  const float* in = instance.colour;
  float* out = instance.transformedColour;
  out[0] = in[0] * c.redMultiply / 256.0f + c.redAdd / 256.0f;
  out[1] = in[1] * c.greenMultiply / 256.0f + c.greenAdd / 256.0f;
  out[2] = in[2] * c.blueMultiply / 256.0f + c.blueAdd / 256.0f;
  out[3] = in[3] * c.alphaMultiply / 256.0f + c.alphaAdd / 256.0f;
}
