// VsProgramParser: the "vs.1.0" vertex-shader dialect (lower-case opcodes,
// registers v#, c#, r#, a0.x, oPos, oD#, oT#, oFog, oPts, one instruction
// per line, ';' comments), parsed into the same VertexProgram as "!!VP1.0".
#pragma once

#include <string_view>

#include "shaderparse/ParseErrors.h"
#include "shaderparse/VertexProgram.h"

namespace shaderparse {

bool parseVsProgramBody(std::string_view body, int firstLine, VertexProgram& program, ParseErrors& errors);

}  // namespace shaderparse
