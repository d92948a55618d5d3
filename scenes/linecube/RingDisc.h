// RingDisc: scene 2's disc of concentric line rings and the chain of
// highlighted cells that runs over it.
//
// Ten circles (radii 5 to 30) and nineteen spokes divide the disc into
// cells, a band between two neighbouring circles by a nineteenth of the
// turn. A fixed looping curve, sampled where it crosses from one cell to
// the next, is the path the highlighted cells follow; each highlighted
// point lights its cell and the cells of its three quarter-turned copies.
// Drawing needs a current GL context.
#pragma once

#include <vector>

#include "gfx/DisplayList.h"

struct DiscPoint {
  float x, y;
};

struct RingCell {
  int ring;    // band, 0 (innermost) to 8
  int sector;  // 0 to 18, counter-clockwise from +x
};

class RingDisc {
 public:
  static constexpr int circleCount = 10;
  static constexpr int spokeCount = 19;
  static constexpr int bandCount = circleCount - 1;
  static constexpr int maxPathPoints = 300;
  static constexpr int pathSamples = 1000;
  static constexpr int chainLength = 20;

  // Builds the path (no GL needed).
  RingDisc();

  // Radius of circle i.
  static float circleRadius(int i) { return 5.0f + float(i) * 25.0f / 9.0f; }
  // The cell of a point of the path's plane (|p| = sqrt 2 is the disc's rim).
  static RingCell cellAt(float x, float y);
  // The path: the curve's points where its cell changes, at most 300.
  static std::vector<DiscPoint> buildPath();
  // Index of the chain's first point for rhythm level `level0`; always
  // within the path.
  int chainStart(float level0) const;

  // Compiles the circles and spokes into ringList.
  void compile();
  // One cell as a zigzag triangle strip between its two circles.
  static void drawCell(RingCell cell);
  // The chain of twenty path points from chainStart, brightening towards
  // its head, each lighting four symmetric cells; `v` is the view's level.
  void drawChain(float level0, float v) const;

  std::vector<DiscPoint> path;
  DisplayList ringList;
};
