// ArbTranslation: "!!VP1.0" programs (and vs.1.0 through them) as
// "!!ARBvp1.0" text, for drivers without NV_vertex_program.
//
// Registers map one to one: v[n] to the conventional attribute NV aliases
// it with (v[0] position, v[2] normal, v[3] colour, v[4] secondary colour,
// v[5] fog coordinate, v[8+n] texcoord n; v[1], v[6], v[7] have no
// conventional partner and read vertex.attrib[n]), c[n] to program.env[n],
// R to TEMPs cleared to zero where read before written (NV clears them),
// o[] to result.*.
//
// NV aliases generic attributes with the conventional ones; Mesa's ARB
// programs do not: glVertexAttrib(8) there feeds only vertex.attrib[8],
// glMultiTexCoord(0) only vertex.texcoord[0]. So the mapping follows how
// the caller feeds the data: bit n of genericAttributes reads v[n] as
// vertex.attrib[n], for callers that feed it with glVertexAttrib (v[0]
// stays vertex.position, which both forms provoke).
//
// Tracked matrices: NV fills c[a..a+3] by glTrackMatrixNV; the caller
// declares those tracks here and the c[] rows bind to state.matrix rows in
// the text, so they read the same without any glTrackMatrixNV.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shaderparse/GlEnums.h"
#include "shaderparse/ParseErrors.h"
#include "shaderparse/VertexProgram.h"

namespace shaderparse {

struct TrackedMatrix {
  int address = 0;               // first of the four c[] rows
  Enum matrix = gl::MODELVIEW_PROJECTION_NV;  // GL_MODELVIEW, GL_PROJECTION, GL_TEXTURE or GL_MODELVIEW_PROJECTION_NV
  Enum transform = gl::IDENTITY_NV;           // GL_IDENTITY_NV, GL_INVERSE_NV, GL_TRANSPOSE_NV, GL_INVERSE_TRANSPOSE_NV
};

struct ArbOptions {
  std::vector<TrackedMatrix> tracked;
  std::uint32_t genericAttributes = 0;
};

// False with an error when the program cannot be expressed (a state
// program, a track of an unknown matrix).
bool translateToArb(const VertexProgram& program, const ArbOptions& options, std::string& text, ParseErrors& errors);

}  // namespace shaderparse
