// Terrain: the endless fractal landscape the bug swarm walks over.
//
// A strip of midpoint-displaced heights, 64 x 128 cells over x -16..16 and
// z -64..64, made to tile along z and drawn as a line grid three tiles long
// (z -64..320). heightAt answers where a creature's feet stand. Built once
// by the swarm scene; the credits scene is lent the same object later.
// Construction draws from the shared random generator, so it must run at
// its place in the loading sequence. The caller sets colour, line width and
// blending before render.
#pragma once

#include <vector>

#include "gfx/DisplayList.h"
#include "gfx/Effect.h"
#include "gfx/Vec3.h"

class Terrain final : public Effect {
 public:
  static constexpr int cellsX = 64;
  static constexpr int cellsZ = 128;
  static constexpr float minX = -16.0f;
  static constexpr float maxX = 16.0f;
  static constexpr float minZ = -64.0f;
  static constexpr float maxZ = 64.0f;
  static constexpr int pointsAcross = cellsX + 1;  // points per row

  struct Cell {
    Vec3 normal;
    Vec3 centre;
  };

  // Builds the heights and cells, then the grid's display list (which needs
  // a current GL context) unless compileList is false.
  explicit Terrain(bool compileList = true);
  ~Terrain() = default;
  Terrain(const Terrain&) = delete;
  Terrain& operator=(const Terrain&) = delete;

  // Height of the landscape under ground position (x, z): the centre height
  // of the cell there. z wraps by the tile length; positions off the strip
  // read the nearest edge cell.
  float heightAt(float x, float z) const;
  // Draws the grid three times, one tile after another along +z.
  int render(float t) override;

  // The grid as strips of point indices: 128 rows (row 0 is left out, it
  // coincides with row 128 of the tile before), then 65 columns.
  std::vector<std::vector<int>> gridStrips() const;
  void compileGrid();

  const Vec3& point(int j, int i) const { return points[size_t(j + i * pointsAcross)]; }

  std::vector<Vec3> points;  // (cellsX + 1) x (cellsZ + 1), point (j, i) at j + i * 65
  std::vector<Cell> cells;   // cellsX x cellsZ, cell (j, i) at j + i * 64
  float minHeight = 0.0f;
  float heightRange = 0.0f;
  DisplayList list;

 private:
  void buildHeights();
  void buildCells();
};
