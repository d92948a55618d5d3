// NameBlocks: a 16 x 16 field of rising and falling blocks, lit by a
// circling spotlight that throws the blocks' shadows; the
// tops of the middle blocks carry the credits' names from "names.jpg".
//
// Each frame: advance(t) moves the blocks, shadowPass(t) turns the light
// and draws the field's depth from it, then morph(x) draws the field
// (render) and the grid that melts it into the swarm's landscape
// (`targetGrid`, lent by the show). Uses the registry's "ShadowLight",
// "PBuffer512x512" and "CircleMask" (drawn without the round spot while
// that is absent). Shared by the credits and the finale. Needs a current
// GL context.
#pragma once

#include <vector>

#include "gfx/Effect.h"
#include "gfx/TextureHandle.h"
#include "gfx/Vec3.h"

class PixelBuffer;
class ResourceRegistry;
class ShadowLight;
class Terrain;

class NameBlock final : public Effect {
 public:
  static constexpr float riseSpeed = 16.0f;
  static constexpr float fallSpeed = -24.0f;

  // Draws its height and direction from the shared generator, in that order.
  NameBlock(int column, int row);

  // Moves by dt * scale * speed; turns up at the floor (clamped to 0) and
  // down at maxHeight (not clamped: it may overshoot by one step).
  void advance(float dt, float scale);
  // Solid or outline by NameBlocks::solidBlocks, at the current model-view.
  int render(float t) override;
  // Sides and top as lit quads; the top from the names texture when this
  // block carries a name and `names` is given.
  void drawSolid(TextureHandle* names) const;
  // Line loops of the sides and the top, without the gap between blocks.
  void drawOutline() const;
  // True for the blocks whose tops show a cell of "names.jpg".
  bool carriesName() const;

  int column;  // -8..7
  int row;     // -8..7
  float height;
  float speed;
};

class NameBlocks final : public Effect {
 public:
  static constexpr int columns = 16;
  static constexpr int rows = 16;
  static constexpr int gridRows = 128;
  static constexpr int gridColumns = 64;

  explicit NameBlocks(ResourceRegistry* registry);
  ~NameBlocks() = default;
  NameBlocks(const NameBlocks&) = delete;
  NameBlocks& operator=(const NameBlocks&) = delete;

  // Moves every block by the time since the last call (none after a jump
  // of more than 2 s).
  void advance(float t);
  // Turns the light by the time since the last call (none after a jump of
  // more than 1 s) and, with `shadows`, draws the field's depth from it.
  void shadowPass(float t);
  // Every block at half height, heading up or down by where it stands.
  void resetHeights();
  // x from 0 to 1: the blocks sink and fade, the field's grid of lines
  // melts into targetGrid.
  void morph(float x);
  // The field: dim solids, the lit and shadowed pass, glowing outlines.
  int render(float t) override;

  // Draws every block (solid or outline), row by row, at the current
  // model-view; names on the tops when `textured`.
  void drawField(bool solid, bool textured);

  // Process-wide sizes; morph shrinks the pitches while it draws.
  static float maxHeight;
  static float pitchX;
  static float pitchZ;
  static bool solidBlocks;

  std::vector<NameBlock> blocks;  // row by row
  TextureHandle* circleMask = nullptr;
  TextureHandle floorTexture{GL_TEXTURE_2D};  // loaded with the field, not drawn
  TextureHandle names{GL_TEXTURE_RECTANGLE_NV};
  bool floorLoaded = false;
  bool namesLoaded = false;
  PixelBuffer* pixelBuffer = nullptr;
  ShadowLight* light = nullptr;
  std::vector<Vec3> gridPoints;  // gridRows x gridColumns
  const Terrain* targetGrid = nullptr;
  float blockAlpha = 1.0f;
  float outlineWhiteness = 0.0f;
  bool shadows = true;
  float lightAngle = 0.0f;

 private:
  void shadowReceivingDraw();

  float lastAdvance = 0.0f;
  float lastShadowPass = 0.0f;
};
