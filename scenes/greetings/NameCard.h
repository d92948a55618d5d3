// NameCard: one row of the greetings image on a card that flies in from an
// offset, turns into the target orientation and shrinks to one eleventh as it
// arrives. Owned by the greetings scene, which sets the shared texture,
// target and offset.
#pragma once

#include "gfx/Effect.h"
#include "gfx/TextureHandle.h"

class NameCard final : public Effect {
 public:
  // Rows of the greetings image: 21 texels high, 256 wide; the width of
  // each row's text in texels.
  static constexpr int rowHeight = 21;
  static constexpr int imageWidth = 256;
  static const int rowWidths[8];

  explicit NameCard(int row);

  // a from 0 (starting out) to 1 (in place).
  int render(float a) override;

  float level = 0.0f;     // set by the owner after each draw
  float orientation[16];  // column-major; identity at construction
  bool additive = false;  // blended additively; otherwise turned over about x
  int row = 0;

  // Shared by every card.
  static TextureHandle texture;  // 2D, filled with "greets.jpg"
  static float target[16];       // where every card's turn ends
  static float offset[3];        // where every card starts (negated)
};
