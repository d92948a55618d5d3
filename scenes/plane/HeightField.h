// HeightField: scene 1's rippling landscape, 65 x 65 points over the
// 320 x 320 square (x, y in -160..160), drawn as a green line grid with the
// scroller mapped onto its middle rows.
//
// Five random fractal key shapes are built at load (four are shown); every
// frame the current grid blends between two of them. Each key is seeded on
// a 3 x 3 lattice and refined by midpoint averaging plus noise; the centre
// column (x = 0) stays out of the refinement and keeps its low "unset"
// height, which pulls a narrow valley along the middle. Draws from the
// shared generator at construction. Needs a current GL context to draw.
#pragma once

#include <cstdint>
#include <vector>

class HeightField {
 public:
  static constexpr int cells = 64;
  static constexpr int side = cells + 1;  // points per row and per column
  static constexpr int keyCount = 5;
  static constexpr int shownKeys = 4;
  static constexpr float unset = -1.0f;

  // Builds the five keys from the shared generator, then the index strips.
  HeightField();

  // Index of point (c, r) in a grid: x = c * 5 - 160, y = r * 5 - 160.
  static int index(int c, int r) { return c + r * side; }
  // Fills `points` (side * side xyz) with one random key shape.
  static void buildKey(std::vector<float>& points);

  // grid = keys n and n + 1 (of the four shown) blended by the fraction of
  // fmod(phase, 4), heights scaled by `rise`.
  void morph(float phase, float rise);
  // The 65 row and 65 column line strips through the current grid.
  void drawLines() const;
  // The scroller's triangle strips over rows 6..57, the bound texture
  // scrolled sideways by `scroll` (the rhythm level).
  void drawScroller(float scroll) const;

  std::vector<float> keyGrids[keyCount];
  std::vector<float> grid;
  std::vector<uint32_t> rowStrips;     // strip r: points (0..64, r)
  std::vector<uint32_t> columnStrips;  // strip c: points (c, 0..64)
};
