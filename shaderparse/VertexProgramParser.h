// VertexProgramParser: the bodies of "!!VP1.0", "!!VSP1.0" and "!!VCP1.0"
// texts (after their header), and the NV_vertex_program rules that every
// vertex program, vs.1.0 ones included, must keep.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "shaderparse/ParseErrors.h"
#include "shaderparse/VertexProgram.h"

namespace shaderparse {

// Parses a preprocessed body into `program` (whose kind is set by the
// caller); false with errors added when it does not parse.
bool parseVertexProgramBody(std::string_view body, int firstLine, VertexProgram& program, ParseErrors& errors);

class Scanner;

// The optional "+n" or "-n" after A0.x in a relative parameter read, into
// src.index (0 when there is none); false with an error when it is out of
// range.
bool readRelativeOffset(Scanner& scan, VpSource& src);

// A write mask ("xyz") into mask bits; its components must be in order, as
// `componentOf` names them. False, with an error for a bad one, when it
// does not read.
bool readWriteMask(Scanner& scan, const std::string& mask, int (*componentOf)(char), std::uint8_t& bits);

// Limits shared by both dialects: instruction count, one distinct v[] and
// one distinct c[] per instruction, A0.x written before it is read.
bool checkVertexProgram(const VertexProgram& program, ParseErrors& errors);

}  // namespace shaderparse
