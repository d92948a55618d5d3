// TunnelTube: the endless tube of white line rings that scene 3 flies
// through, with the line cube smeared over its wall and a wandering
// pattern of lit tiles.
//
// The tube runs along -z in its own space, radius 30, twenty rings twenty
// units apart. Only the camera's y (its way along the tube) matters: the
// rings stand at whole multiples of 20 and the set moves on by one ring
// each time the camera passes one, so the tube never ends. Every frame the
// shared LineCube is drawn into the pixel buffer over three quarters of
// its last picture, so its trails smear, and that picture is the wall's
// texture. The wall and the tiles turn with the rhythm level. Needs a
// current GL context to draw.
#pragma once

#include "gfx/DisplayList.h"
#include "gfx/Effect.h"
#include "gfx/Vec3.h"

class LineCube;
class PixelBuffer;
class ScreenTexture;

struct TubeTile {
  int ring;     // 0..19 along the tube
  int segment;  // 0..19 around it
};

class TunnelTube final : public Effect {
 public:
  static constexpr float radius = 30.0f;
  static constexpr int segments = 20;
  static constexpr int rings = 20;
  static constexpr float ringSpacing = 20.0f;
  static constexpr float length = -400.0f;
  static constexpr int litTileCount = 10;
  // The tile walk gives up after this many steps (a level so large that a
  // step no longer moves it, or not a number, would never change cell).
  static constexpr int maxTileSteps = 100000;

  explicit TunnelTube(LineCube* lineCube);

  // Where ring i stands along the tube (z) with the camera at y = cameraY.
  static float ringZ(int i, float cameraY);
  // The walk's cells for level x: up to ten, fewer only when it cannot
  // move; returns how many.
  static int litTiles(float x, TubeTile out[litTileCount]);

  // Compiles the ring with its twenty wall lines.
  void compile();
  // Smears the cube into `target`, then draws rings, wall and tiles for
  // level x; returns 0.
  int render(float x) override;

  LineCube* lineCube;
  PixelBuffer* target = nullptr;
  ScreenTexture* texture = nullptr;
  Vec3 camera;
  DisplayList ringList;
  int width = 640;

 private:
  void smearCube(float a);
  void drawWall(float x) const;
  void drawTile(TubeTile tile, float x) const;
};
