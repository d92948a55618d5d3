// VertexProgramParser: the bodies of "!!VP1.0", "!!VSP1.0" and "!!VCP1.0"
// texts (after their header), and the NV_vertex_program rules that every
// vertex program, vs.1.0 ones included, must keep.
#pragma once

#include <string_view>

#include "shaderparse/ParseErrors.h"
#include "shaderparse/VertexProgram.h"

namespace shaderparse {

// Parses a preprocessed body into `program` (whose kind is set by the
// caller); false with errors added when it does not parse.
bool parseVertexProgramBody(std::string_view body, int firstLine, VertexProgram& program, ParseErrors& errors);

// Limits shared by both dialects: instruction count, one distinct v[] and
// one distinct c[] per instruction, A0.x written before it is read.
bool checkVertexProgram(const VertexProgram& program, ParseErrors& errors);

}  // namespace shaderparse
