// LineCube: two hundred glowing green trails running over a sphere and
// pulled, axis by axis, onto the faces of a tumbling cube ("LineCube").
//
// Each trail is sixteen points along a closed curve on the sphere of
// radius 10 (a SphereLoop); each point blends, per axis, between the curve
// and where the ray from the point through the centre leaves the cube
// (faces at distance 11). The axis weights swing with the parameter, so
// the figure breathes between ball and box. One instance is shared through
// the registry: scene 2 shows it on its ring disc, the tunnel smears it
// over its wall, and each user sets the angle, level and width before
// drawing. Builds its curves from the shared generator (three values a
// point); drawing needs a current GL context.
#pragma once

#include "gfx/Effect.h"
#include "gfx/SplinePath.h"
#include "gfx/Vec3.h"

class ResourceRegistry;

class LineCube final : public Effect {
 public:
  static constexpr int curveCount = 200;
  static constexpr int trailLength = 16;  // points a trail
  static constexpr float sphereRadius = 10.0f;
  static constexpr float faceDistance = 11.0f;
  // A ray that leaves no face within this is left where it is.
  static constexpr float noExit = 1000.0f;

  LineCube();

  // Turns the cube: the rest normals rotated by a about x, then y, then z.
  void setAngle(float a);
  // Where the ray from p through the centre leaves the cube; p itself for
  // the centre, where there is no ray.
  Vec3 project(const Vec3& p) const;
  // The sixteen points of trail j at parameter x, head first.
  void trail(int j, float x, Vec3 out[trailLength]) const;
  // Draws every trail, three glow passes, head green, tail fading; returns 0.
  int render(float x) override;

  Vec3 normals[6];
  SplinePath curves[curveCount];
  float level = 1.0f;
  int width = 640;
};

// Sets up the current context to draw the cube off screen: additive lines,
// no depth test, a square perspective of `fieldOfView` degrees (near 1, far
// 100) seen from 10 units in front of the centre.
void beginCubeView(double fieldOfView);

// The registry's shared cube: installs the "LineCube" maker on the registry
// the first time and asks for the row.
LineCube* sharedLineCube(ResourceRegistry* registry);
