// Bug: construction, the walk, the step and the three arcs.
#include "scenes/swarm/Bug.h"

#include <cmath>

#include "gfx/GlExtensions.h"
#include "gfx/LineDrawing.h"
#include "gfx/MathUtil.h"
#include "gfx/Random.h"
#include "scenes/effects/Terrain.h"

namespace {

const float kStepUnits = 6.0f;     // walk time units per step, one per leg
const float kStepLength = 1.5f;
const float kTwoPi = 6.28318f;
// Leg directions around the body; the arcs pair legs 0-5, 1-4 and 2-3,
// which stand opposite each other.
const float kLegAngles[6] = {2.3561925f, 0.7853975f, 3.14159f, 0.0f, 3.926987f, 5.497783f};

}  // namespace

void BugJitter::build() {
  table.resize(size);
  for (float& value : table) value = -0.4f + float(zolt::random() % 10000) * 0.8f / 10000.0f;
  index = 0;
}

float BugJitter::next() {
  if (table.empty()) return 0.0f;
  const float value = table[index];
  index = (index + 3) % size;
  return value;
}

Bug::Bug(const Terrain* terrain, BugJitter* jitter) : terrain_(terrain), jitter_(jitter) {
  const float x = zolt::randomIn(Terrain::minX + 1.0f, Terrain::maxX - 1.0f);
  const float z = Terrain::minZ + 2.5f + zolt::randomIn(3.0f, 50.0f);
  position = Vec3(x, 0.0f, z);
  previous = position;
  waypoint = Vec3(0.0f, 0.0f, position.z + 10.0f);
  target = waypoint;
  phaseOffset = zolt::randomIn(0.0f, 1.0f);
  // Five more draws whose values go unused: they keep the shared sequence
  // where the rest of the show expects it.
  for (int i = 0; i < 5; ++i) zolt::random();
}

void Bug::walk(float x) {
  const float a = x + phaseOffset;
  const int s = int(std::floor(a / kStepUnits));
  if (s != lastStep) {
    step();
    lastStep = s;
  }
  float u = std::fmod(a, kStepUnits);
  if (u < 0.0f) u += kStepUnits;
  const int n = int(std::floor(u));
  const float f = u - float(n);
  for (int i = 0; i < 6; ++i) {
    if (i > n || (i == n && f == 0.0f)) {
      legs[i] = restLegs[i];
    } else if (i < n) {
      legs[i] = stepLegs[i];
    } else {
      // The swinging leg: its foot lifted by up to 0.25 halfway through.
      legs[i].foot = lerpVec3(f, restLegs[i].foot, stepLegs[i].foot);
      legs[i].foot.y += f - f * f;
      legs[i].knee = lerpVec3(f, restLegs[i].knee, stepLegs[i].knee);
    }
  }
}

void Bug::step() {
  previous = position;
  previousHeading = heading;
  for (int i = 0; i < 6; ++i) restLegs[i] = stepLegs[i];

  Vec3 direction = waypoint - previous;
  if (direction.length() < 1.0f) {
    // NOTE: only a target still ahead by more than 4 sends the creature to a
    // further random waypoint. Measured as a distance, a waypoint that
    // overshot its target by more than 4 would send it on along +z for good.
    if (std::trunc(target.z - previous.z) > 4.0f) {
      const float x = zolt::randomIn(Terrain::minX + 2.0f, Terrain::maxX - 2.0f);
      waypoint = Vec3(x, 0.0f, previous.z + zolt::randomIn(5.0f, 10.0f));
    } else {
      waypoint = target;
    }
    direction = waypoint - previous;
  }
  direction = normalized(direction);
  direction.x += zolt::randomIn(-0.5f, 0.5f);
  direction.z += zolt::randomIn(-0.5f, 0.5f);
  direction = normalized(direction) * kStepLength;
  position = previous + direction;

  const float ground = std::sqrt(direction.x * direction.x + direction.z * direction.z);
  heading = ground > 0.0f ? std::acos(direction.x / ground) : heading;
  if (direction.z < 0.0f) heading = kTwoPi - heading;
  placeLegs();
}

void Bug::placeLegs() {
  for (int k = 0; k < 6; ++k) {
    const float a = heading + kLegAngles[k];
    const float c = std::cos(a), s = std::sin(a);
    BugLeg& leg = stepLegs[k];
    leg.foot = Vec3(position.x + c, 0.0f, position.z + s);
    leg.foot.y = terrain_->heightAt(leg.foot.x, leg.foot.z);
    leg.knee = Vec3(position.x + 0.5f * c, 0.0f, position.z + 0.5f * s);
    leg.knee.y = terrain_->heightAt(leg.knee.x, leg.knee.z) + 1.0f;
  }
}

void Bug::appendArcs(BugArcBatch& out) const {
  for (int i = 0; i < 3; ++i) {
    const Vec3* control[4] = {&legs[i].foot, &legs[i].knee, &legs[5 - i].knee, &legs[5 - i].foot};
    const unsigned first = unsigned(out.vertices.size());
    for (int k = 0; k <= 8; ++k) {
      BugArcVertex v;
      const float u = float(k) / 8.0f;
      const float r = jitter_->next();
      for (int c = 0; c < 3; ++c) {
        v.parameter[c] = u;
        v.jitter[c] = r;
      }
      for (int unit = 0; unit < 4; ++unit) {
        v.control[unit][0] = control[unit]->x;
        v.control[unit][1] = control[unit]->y;
        v.control[unit][2] = control[unit]->z;
      }
      out.vertices.push_back(v);
    }
    for (unsigned k = 0; k < 8; ++k) {
      out.indices.push_back(first + k);
      out.indices.push_back(first + k + 1);
    }
  }
}

int Bug::render(float) {
  BugArcBatch arcs;
  appendArcs(arcs);
  arcs.draw();
  return 0;
}

void BugArcBatch::clear() {
  vertices.clear();
  indices.clear();
}

// A run of the line draws holds whole arcs, so no vertex is shaded twice.
static_assert(kLineRunPoints % 16 == 0, "runs must not cut an arc");

void BugArcBatch::draw() const {
  if (indices.empty()) return;
  const GLsizei stride = sizeof(BugArcVertex);
  const BugArcVertex& first = vertices.front();
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, stride, first.parameter);
  glEnableClientState(GL_SECONDARY_COLOR_ARRAY_EXT);
  glSecondaryColorPointerEXT(3, GL_FLOAT, stride, first.jitter);
  for (int unit = 0; unit < 4; ++unit) {
    glClientActiveTextureARB(GL_TEXTURE0_ARB + unit);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(3, GL_FLOAT, stride, first.control[unit]);
  }
  drawIndexedLineRuns(indices.data(), int(indices.size()));
  for (int unit = 3; unit >= 0; --unit) {
    glClientActiveTextureARB(GL_TEXTURE0_ARB + unit);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  }
  glDisableClientState(GL_SECONDARY_COLOR_ARRAY_EXT);
  glDisableClientState(GL_VERTEX_ARRAY);
}
