// Bug: one creature of the swarm — six legs, drawn as three glowing arcs
// from foot over both knees to the opposite foot.
//
// It walks in steps of 6 time units, lifting one leg per unit, 1.5 units of
// ground a step, towards waypoints that wander forward along +z until its
// target on the gathering image is near, then towards the target. Its feet
// stand on the terrain. The arcs' shapes are computed by the bound vertex
// program from four control points per arc (texture units 0..3), the arc
// parameter (vertex position) and a jitter (secondary colour) read from a
// table shared by the whole swarm; all three are per-vertex arrays. Random draws come from the shared
// generator in a fixed order: at construction and at each step.
#pragma once

#include <cstddef>
#include <vector>

#include "gfx/Effect.h"
#include "gfx/Vec3.h"

class Terrain;

struct BugLeg {
  Vec3 foot;
  Vec3 knee;
};

// The swarm's jitter: 4096 values in [-0.4, 0.4]; each drawn vertex takes
// the next one and the index moves on by 3, wrapping.
struct BugJitter {
  static constexpr size_t size = 4096;
  std::vector<float> table;
  size_t index = 0;

  void build();  // draws the 4096 values
  float next();
};

// One vertex of a creature's arcs as the vertex program reads it: the arc
// parameter (position), the jitter (secondary colour) and the arc's four
// control points (texture units 0..3).
struct BugArcVertex {
  float parameter[3];
  float jitter[3];
  float control[4][3];
};

// Arcs of any number of creatures, drawn from one array: nine vertices per
// arc, and each arc's eight segments as index pairs (GL_LINES), so each
// vertex is still shaded once.
struct BugArcBatch {
  std::vector<BugArcVertex> vertices;
  std::vector<unsigned> indices;

  void clear();
  // Through the bound program; colour and line width are the caller's.
  void draw() const;
};

class Bug final : public Effect {
 public:
  // Draws the start position and phase from the shared generator.
  Bug(const Terrain* terrain, BugJitter* jitter);

  // Poses the legs at walk time x (scene time x speed), stepping first when
  // x has entered a new step.
  void walk(float x);
  // One step: move on 1.5 units towards the waypoint, choosing the next
  // waypoint when this one is reached.
  void step();
  // stepLegs for the current position and heading.
  void placeLegs();
  // Appends the three arcs, taking the next 27 jitter values.
  void appendArcs(BugArcBatch& out) const;
  // The three arcs; the caller has bound the program and set colour and
  // line width.
  int render(float t) override;

  BugLeg restLegs[6];
  BugLeg stepLegs[6];
  Vec3 waypoint;
  Vec3 previous;
  Vec3 position;
  float previousHeading = 0.0f;
  float heading = 0.0f;
  BugLeg legs[6];
  float phaseOffset = 0.0f;
  int lastStep = -1;
  Vec3 target;

 private:
  const Terrain* terrain_;
  BugJitter* jitter_;
};

