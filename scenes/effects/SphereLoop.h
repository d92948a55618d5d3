// SphereLoop: a closed curve wandering over a sphere about the origin.
//
// Ten points of a random walk (the polar angle steps forward by a quarter
// to a half radian, the azimuth by one), then the first four again so the
// closed spline runs smoothly through its seam. Scene 1's trails close
// into these; the line cube's curves are these. Draws from the shared
// generator, three values a point.
#pragma once

#include "gfx/SplinePath.h"

constexpr int sphereLoopPoints = 10;

void buildSphereLoop(SplinePath& curve, float radius);
