// TextMesh: one line of 3D lettering, cut from a TrueType font.
//
// Glyph outlines come from FreeType in font units (no hinting, so the
// result is the same everywhere), curves are flattened into short
// segments, GLU's tessellator fills the front face, and the outline is
// extruded into a back face and side walls. Coordinates are the mesh's own:
// x along the line (centred), y up from the baseline, z through the depth
// (centred), front face towards +z.
#pragma once

#include <string>
#include <vector>

#include "gfx/Vec3.h"

namespace models {

struct TriangleMesh {
  std::vector<Vec3> points;
  std::vector<unsigned> indices;  // three per triangle
};

// Builds the lettering with capitals `height` tall and `depth` deep; returns
// false with a message in `error` when the font cannot be read.
bool buildTextMesh(const char* fontPath, const std::string& text, float height, float depth,
                   TriangleMesh* mesh, std::string* error);

}  // namespace models
