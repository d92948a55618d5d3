// Terrain: heights by midpoint displacement, the tiling seam, the cell
// records and the grid list.
#include "scenes/effects/Terrain.h"

#include <algorithm>
#include <cmath>

#include "gfx/Random.h"

namespace {

const float kUnset = -1.0f;
const float kSeedHeight = 8.0f;

}  // namespace

Terrain::Terrain(bool compileList) {
  buildHeights();
  buildCells();
  if (compileList) compileGrid();
}

void Terrain::buildHeights() {
  const int across = pointsAcross, along = cellsZ + 1;
  points.assign(size_t(across * along), Vec3());
  std::vector<float> h(size_t(across * along), kUnset);
  auto at = [&](int j, int i) -> float& { return h[size_t(j + i * across)]; };
  for (int i = 0; i <= cellsZ; i += 32)
    for (int j = 0; j <= cellsX; j += 16) at(j, i) = kSeedHeight;

  // Each pass halves the spacing and fills the unset points of the finer
  // lattice from their neighbours on the coarser one, plus a random offset
  // that shrinks with the spacing.
  int sx = cellsX, sz = cellsZ;
  for (;;) {
    for (int i = 0; i <= cellsZ; i += sz) {
      for (int j = 0; j <= cellsX; j += sx) {
        if (at(j, i) != kUnset) continue;
        float sum = 0.0f;
        int count = 0;
        for (int dz = -sz; dz <= sz; dz += sz) {
          for (int dx = -sx; dx <= sx; dx += sx) {
            const int jj = j + dx, ii = i + dz;
            if (jj < 0 || jj > cellsX || ii < 0 || ii > cellsZ) continue;
            if (jj % (2 * sx) != 0 || ii % (2 * sz) != 0) continue;
            sum += at(jj, ii);
            ++count;
          }
        }
        at(j, i) = (count > 0 ? sum / float(count) : kSeedHeight) + zolt::randomIn(-sx / 4.0f, sx / 4.0f);
      }
    }
    if (sx == 1 && sz == 1) break;
    sx = std::max(1, sx / 2);
    sz = std::max(1, sz / 2);
  }

  const auto range = std::minmax_element(h.begin(), h.end());
  const float lowest = *range.first;
  heightRange = *range.second - lowest;
  minHeight = 0.0f;
  for (float& value : h) value -= lowest;

  // The strip tiles along z: both end rows take their mean, and the rows
  // next to them are pulled halfway towards it so the seam has no step.
  for (int j = 0; j <= cellsX; ++j) {
    const float e = (at(j, 0) + at(j, cellsZ)) / 2.0f;
    at(j, 0) = e;
    at(j, cellsZ) = e;
    at(j, cellsZ - 1) = (e + at(j, cellsZ - 1)) / 2.0f;
    at(j, 1) = (e + at(j, 1)) / 2.0f;
  }

  for (int i = 0; i <= cellsZ; ++i) {
    for (int j = 0; j <= cellsX; ++j) {
      points[size_t(j + i * across)] =
          Vec3(minX + float(j) * (maxX - minX) / cellsX, at(j, i), minZ + float(i) * (maxZ - minZ) / cellsZ);
    }
  }
}

void Terrain::buildCells() {
  cells.assign(size_t(cellsX * cellsZ), Cell());
  for (int i = 0; i < cellsZ; ++i) {
    for (int j = 0; j < cellsX; ++j) {
      const Vec3& p = point(j, i);
      Cell& cell = cells[size_t(j + i * cellsX)];
      cell.normal = normalized(cross(point(j + 1, i) - p, point(j, i + 1) - p));
      cell.centre = (p + point(j + 1, i) + point(j, i + 1) + point(j + 1, i + 1)) * 0.25f;
    }
  }
}

std::vector<std::vector<int>> Terrain::gridStrips() const {
  std::vector<std::vector<int>> strips;
  for (int i = 1; i <= cellsZ; ++i) {
    std::vector<int> row;
    for (int j = 0; j <= cellsX; ++j) row.push_back(j + i * pointsAcross);
    strips.push_back(row);
  }
  for (int j = 0; j <= cellsX; ++j) {
    std::vector<int> column;
    for (int i = 0; i <= cellsZ; ++i) column.push_back(j + i * pointsAcross);
    strips.push_back(column);
  }
  return strips;
}

void Terrain::compileGrid() {
  list.begin();
  for (const std::vector<int>& strip : gridStrips()) {
    glBegin(GL_LINE_STRIP);
    for (int index : strip) glVertex3f(points[size_t(index)].x, points[size_t(index)].y, points[size_t(index)].z);
    glEnd();
  }
  list.end();
}

float Terrain::heightAt(float x, float z) const {
  if (!std::isfinite(x) || !std::isfinite(z)) return 0.0f;
  const float length = maxZ - minZ;
  float zz = std::fmod(z - minZ, length);
  if (zz < 0.0f) zz += length;  // NOTE: behind the strip wraps too, not past the array
  zz += minZ;
  const int col = std::clamp(int(std::floor(x * cellsX / (maxX - minX))) + cellsX / 2, 0, cellsX - 1);
  const int row = std::clamp(int(std::floor(zz * cellsZ / length)) + cellsZ / 2, 0, cellsZ - 1);
  return cells[size_t(col + row * cellsX)].centre.y;
}

int Terrain::render(float) {
  glPushMatrix();
  list.draw();
  glTranslatef(0.0f, 0.0f, maxZ - minZ);
  list.draw();
  glTranslatef(0.0f, 0.0f, maxZ - minZ);
  list.draw();
  glPopMatrix();
  return 0;
}
