// HeightField: key shapes, the morph between them and the grid's strips.
#include "scenes/plane/HeightField.h"

#include <cmath>

#include "gfx/GlExtensions.h"
#include "gfx/MathUtil.h"
#include "gfx/Random.h"

namespace {

const int kCentre = HeightField::cells / 2;
const float kSpacing = 5.0f;
const float kOrigin = -160.0f;
const float kRidgeSeed = 15.0f;
const float kValleySeed = 0.0f;

// The scroller covers rows floor(64 * 0.1) .. floor(64 * 0.9).
const int kScrollerFirstRow = HeightField::cells / 10;
const int kScrollerEndRow = HeightField::cells * 9 / 10;

// A value in [a, b] from the shared generator, in steps of a thousandth.
float randomIn(float a, float b) { return a + float(zolt::random() % 1000) * (b - a) / 1000.0f; }

}  // namespace

HeightField::HeightField() {
  for (std::vector<float>& key : keyGrids) buildKey(key);
  grid.assign(size_t(side) * side * 3, 0.0f);
  rowStrips.resize(size_t(side) * side);
  columnStrips.resize(size_t(side) * side);
  for (int s = 0; s < side; ++s) {
    for (int i = 0; i < side; ++i) {
      rowStrips[size_t(s) * side + i] = uint32_t(index(i, s));
      columnStrips[size_t(s) * side + i] = uint32_t(index(s, i));
    }
  }
}

void HeightField::buildKey(std::vector<float>& points) {
  points.assign(size_t(side) * side * 3, 0.0f);
  auto height = [&points](int c, int r) -> float& { return points[size_t(index(c, r)) * 3 + 2]; };
  // NOTE: kept apart from the -1 marker, which a refined height could hit.
  std::vector<bool> known(size_t(side) * side, false);
  for (int r = 0; r < side; ++r) {
    for (int c = 0; c < side; ++c) {
      points[size_t(index(c, r)) * 3 + 0] = float(c) * kSpacing + kOrigin;
      points[size_t(index(c, r)) * 3 + 1] = float(r) * kSpacing + kOrigin;
      height(c, r) = unset;
    }
  }
  for (int r = 0; r <= cells; r += kCentre)
    for (int c = 0; c <= cells; c += kCentre) {
      height(c, r) = c == kCentre ? kValleySeed : kRidgeSeed;
      known[size_t(index(c, r))] = true;
    }

  for (int s = kCentre; s >= 1; s /= 2) {
    const int coarse = 2 * s;
    for (int r = 0; r <= cells; r += s) {
      for (int c = 0; c <= cells; c += s) {
        if (c == kCentre || known[size_t(index(c, r))]) continue;
        float sum = 0.0f;
        int count = 0;
        for (int dr = -s; dr <= s; dr += s) {
          for (int dc = -s; dc <= s; dc += s) {
            const int nc = c + dc, nr = r + dr;
            if (nc < 0 || nc > cells || nr < 0 || nr > cells) continue;
            if (nc % coarse != 0 || nr % coarse != 0) continue;
            // NOTE: centre-column points still unset count with their -1;
            // that is what digs the valley.
            sum += height(nc, nr);
            ++count;
          }
        }
        const float noise = randomIn(-2.0f * float(s), 2.0f * float(s));
        height(c, r) = (count ? sum / float(count) : 0.0f) + noise;
        known[size_t(index(c, r))] = true;
      }
    }
  }
}

void HeightField::morph(float phase, float rise) {
  const float p = std::fmod(phase, float(shownKeys));
  int n = int(std::floor(p));
  // NOTE: guards the float edge where fmod rounds up to the modulus.
  if (n < 0 || n >= shownKeys) n = 0;
  const float w = p - std::floor(p);
  const std::vector<float>& from = keyGrids[n];
  const std::vector<float>& to = keyGrids[(n + 1) % shownKeys];
  for (size_t i = 0; i < grid.size(); i += 3) {
    grid[i] = from[i];
    grid[i + 1] = from[i + 1];
    grid[i + 2] = lerp(w, from[i + 2], to[i + 2]) * rise;
  }
}

void HeightField::drawLines() const {
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, grid.data());
  for (int s = 0; s < side; ++s)
    glDrawElements(GL_LINE_STRIP, side, GL_UNSIGNED_INT, &rowStrips[size_t(s) * side]);
  for (int s = 0; s < side; ++s)
    glDrawElements(GL_LINE_STRIP, side, GL_UNSIGNED_INT, &columnStrips[size_t(s) * side]);
  glDisableClientState(GL_VERTEX_ARRAY);
}

void HeightField::drawScroller(float scroll) const {
  const float rows = float(kScrollerEndRow - kScrollerFirstRow);
  for (int i = kScrollerFirstRow; i < kScrollerEndRow; ++i) {
    const float m = float(kScrollerEndRow - i) / rows;
    const float o = float(kScrollerEndRow - i - 1) / rows;
    glBegin(GL_TRIANGLE_STRIP);
    for (int c = 0; c < side; ++c) {
      const float s = scroll * 0.04f + float(c) * 0.5f / float(cells);
      glTexCoord2f(s, m);
      glVertex3fv(&grid[size_t(index(c, i)) * 3]);
      glTexCoord2f(s, o);
      glVertex3fv(&grid[size_t(index(c, i + 1)) * 3]);
    }
    glEnd();
  }
}
