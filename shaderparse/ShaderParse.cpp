// ShaderParse: header dispatch to the preprocessor and the parsers.
#include "shaderparse/ShaderParse.h"

#include <cstring>
#include <string>

#include "shaderparse/Preprocessor.h"
#include "shaderparse/VertexProgramParser.h"
#include "shaderparse/VsProgramParser.h"

namespace shaderparse {
namespace {

struct Header {
  const char* text;
  ProgramKind kind;
};

constexpr Header kHeaders[] = {
    {"!!VP1.0", ProgramKind::VertexProgram},       {"!!VSP1.0", ProgramKind::VertexStateProgram},
    {"!!VCP1.0", ProgramKind::VertexConstantProgram}, {"!!TS1.0", ProgramKind::TextureShader},
    {"!!RC1.0", ProgramKind::RegisterCombiners},   {"vs.1.0", ProgramKind::VertexShader},
    {"vs.1.1", ProgramKind::VertexShader},
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

}  // namespace

bool parseProgram(const char* text, ParsedProgram& program, ParseErrors& errors) {
  program = ParsedProgram();
  if (text == nullptr) {
    errors.add(0, "no program text");
    return false;
  }
  const std::string_view all(text);
  size_t at = 0;
  int line = 1;
  while (at < all.size() && isBlank(all[at])) line += all[at++] == '\n';
  for (const Header& h : kHeaders) {
    const size_t n = std::strlen(h.text);
    if (all.compare(at, n, h.text) == 0 && (at + n == all.size() || isBlank(all[at + n]))) {
      program.kind = h.kind;
      at += n;
      break;
    }
  }
  if (program.kind == ProgramKind::None) {
    // The first word only: the message stays on one line.
    size_t end = at;
    while (end < all.size() && end - at < 12 && !isBlank(all[end])) ++end;
    errors.add(line, "unknown program type: " + std::string(all.substr(at, end - at)));
    return false;
  }
  const int before = errors.total();
  const std::string body = preprocess(all.substr(at), line, errors);
  if (errors.total() != before) return false;
  switch (program.kind) {
    case ProgramKind::VertexProgram:
    case ProgramKind::VertexStateProgram:
    case ProgramKind::VertexConstantProgram:
      program.vertex.kind = program.kind == ProgramKind::VertexProgram        ? VpKind::Program
                            : program.kind == ProgramKind::VertexStateProgram ? VpKind::StateProgram
                                                                              : VpKind::ConstantProgram;
      return parseVertexProgramBody(body, line, program.vertex, errors);
    case ProgramKind::VertexShader: return parseVsProgramBody(body, line, program.vertex, errors);
    case ProgramKind::TextureShader: return parseTextureShaderBody(body, line, program.textureShader, errors);
    case ProgramKind::RegisterCombiners: return parseRegisterCombinerBody(body, line, program.combiners, errors);
    case ProgramKind::None: break;
  }
  return false;
}

bool parseAndEmit(const char* text, const EmitOptions& options, NvCallSink& sink, ParseErrors& errors) {
  ParsedProgram program;
  return parseProgram(text, program, errors) && emitProgram(program, options, sink, errors);
}

}  // namespace shaderparse
