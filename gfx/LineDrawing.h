// LineDrawing: the conventions every line scene draws with.
//
// Figures are lines, additively blended, drawn several times at widths
// scaled from a 640-pixel-wide reference so they glow the same at every
// output size. Meshes from 3DS files become lines either once, into a
// display list (compileMeshLines), or every frame from changing points
// (drawWireTriangles). Needs a current GL context; depends on lib3ds.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "gfx/GlExtensions.h"

struct Lib3dsFile;
struct Lib3dsMesh;

// Line width for glow pass k (8, 4, 2 or 1) at output width `width`:
// width * k / 640 in whole pixels (truncated, so 0 below 640 for k = 1).
inline float glowWidth(int width, int k) { return float(width * k / 640); }

// Sets the line width for a glow pass. NOTE: a width of 0 (glowWidth(1)
// below 640 pixels) would be rejected by GL and leave the previous pass's
// width in place; it draws at the thinnest width, 1, instead.
inline void setLineWidth(float width) { glLineWidth(width < 1.0f ? 1.0f : width); }

struct Rgba {
  float r, g, b, a;
};

// The glow: `draw` once per pass, widest first as listed, each at its pass
// width for output width `width` and in `colour`. Additive blending (set by
// the caller) turns the stack of passes into a soft core.
template <typename Draw>
void drawGlow(int width, std::initializer_list<int> passes, Rgba colour, Draw&& draw) {
  for (int k : passes) {
    setLineWidth(glowWidth(width, k));
    glColor4f(colour.r, colour.g, colour.b, colour.a);
    draw();
  }
}

// Points per draw call when segments come from arrays. NOTE: a software
// driver expands wide lines into triangles a small buffer at a time and,
// each time it hands one on, walks every point of the draw in progress;
// one draw of thousands of points so costs many times the same points in
// runs of a few hundred. Even, so no segment is cut in two.
constexpr int kLineRunPoints = 512;

// GL_LINES over points [first, first + count) of the enabled arrays, in runs
// of kLineRunPoints; a last lone point is dropped, as GL drops it.
void drawLineRuns(int first, int count);
// GL_LINES over `count` indices into the enabled arrays, in the same runs.
void drawIndexedLineRuns(const GLuint* indices, int count);

// Emits every triangle edge of the mesh as GL_LINES, three segments a face,
// in the mesh's own space (points are stored in world space). Meant to run
// inside a DisplayList compile. A null mesh emits nothing.
void compileMeshLines(Lib3dsMesh* mesh);
// The same for the mesh of that name in `file` (nothing when absent).
void compileMeshLines(Lib3dsFile* file, const char* meshName);

// Draws faceCount triangles from packed xyz points as outlines.
void drawWireTriangles(const float* positions, const uint32_t* indices, int faceCount);

// A circle of `segments` lines about the origin in the plane z = 0.
void drawCircleLoop(float radius, int segments);

// Starts a line frame: colour cleared, no depth test, additive blending.
void beginAdditiveFrame();

// Linear fog from start to end towards black, so far lines fade out.
void linearFog(float start, float end);

// True when drawing anything inside the box from `low` to `high` (corners in
// the current modelview space) would leave the frame's colour as it is:
// fixed-function linear fog towards black is on and the whole box lies at or
// beyond the fog's end, so every fragment fogs to black, and blending adds
// the source to the frame. Lets a figure skip what the fog has swallowed.
bool beyondFog(const float low[3], const float high[3]);
