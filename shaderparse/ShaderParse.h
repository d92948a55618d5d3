// ShaderParse: the parser's front door. A program text is recognised by its
// header ("!!VP1.0", "!!VSP1.0", "!!VCP1.0", "!!TS1.0", "!!RC1.0",
// "vs.1.0"/"vs.1.1"), preprocessed, parsed into its representation and,
// only when the whole text parsed, emitted as GL calls into a sink.
#pragma once

#include "shaderparse/ArbTranslation.h"
#include "shaderparse/NvCallSink.h"
#include "shaderparse/ParseErrors.h"
#include "shaderparse/RegisterCombiners.h"
#include "shaderparse/TextureShader.h"
#include "shaderparse/VertexProgram.h"

namespace shaderparse {

enum class ProgramKind { None, VertexProgram, VertexStateProgram, VertexConstantProgram, TextureShader,
                         RegisterCombiners, VertexShader };

struct ParsedProgram {
  ProgramKind kind = ProgramKind::None;
  VertexProgram vertex;  // all vertex kinds, vs.1.0 included
  TextureShaderProgram textureShader;
  RegisterCombinerProgram combiners;
};

struct EmitOptions {
  // Vertex kinds load through glLoadProgramNV when true, else as
  // "!!ARBvp1.0" text through glProgramStringARB.
  bool nvVertexProgram = true;
  unsigned programId = 0;  // the id glLoadProgramNV loads into
  ArbOptions arb;          // how the ARB translation binds attributes and tracked matrices
};

// Null or unrecognised text is an error.
bool parseProgram(const char* text, ParsedProgram& program, ParseErrors& errors);
// Emits nothing when the program cannot be expressed on the chosen path.
bool emitProgram(const ParsedProgram& program, const EmitOptions& options, NvCallSink& sink, ParseErrors& errors);
// Both in one; the sink sees calls only for a text that parses whole.
bool parseAndEmit(const char* text, const EmitOptions& options, NvCallSink& sink, ParseErrors& errors);

}  // namespace shaderparse
