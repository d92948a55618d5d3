// FragmentTranslation: texture-shader stages -> ARB fragment program text.
#include "shaderparse/FragmentTranslation.h"

#include "shaderparse/ShaderParse.h"

namespace shaderparse {
namespace {

// The ARB texture target a stage samples, or null when it has no form here.
const char* sampledTarget(Enum operation) {
  switch (operation) {
    case gl::TEXTURE_2D:
    case gl::OFFSET_TEXTURE_2D_NV: return "2D";
    case gl::TEXTURE_RECTANGLE_NV:
    case gl::OFFSET_TEXTURE_RECTANGLE_NV: return "RECT";
    default: return nullptr;
  }
}

bool isOffset(Enum operation) {
  return operation == gl::OFFSET_TEXTURE_2D_NV || operation == gl::OFFSET_TEXTURE_RECTANGLE_NV;
}

// The operation as the text names it.
const char* operationName(Enum operation) {
  switch (operation) {
    case gl::TEXTURE_1D: return "texture_1d()";
    case gl::TEXTURE_CUBE_MAP_ARB: return "texture_cube_map()";
    case gl::PASS_THROUGH_NV: return "pass_through()";
    case gl::CULL_FRAGMENT_NV: return "cull_fragment()";
    case gl::OFFSET_TEXTURE_2D_NV: return "offset_2d()";
    case gl::OFFSET_TEXTURE_RECTANGLE_NV: return "offset_rectangle()";
    case gl::OFFSET_TEXTURE_2D_SCALE_NV: return "offset_2d_scale()";
    case gl::OFFSET_TEXTURE_RECTANGLE_SCALE_NV: return "offset_rectangle_scale()";
    case gl::DEPENDENT_AR_TEXTURE_2D_NV: return "dependent_ar()";
    case gl::DEPENDENT_GB_TEXTURE_2D_NV: return "dependent_gb()";
    default: return "a dot product";  // every other operation is part of a dot-product chain
  }
}

}  // namespace

bool translateToArbFragment(const TextureShaderProgram& program, std::string& text, ParseErrors& errors) {
  text.clear();
  const int before = errors.total();
  bool consumed[kTsStages] = {};
  for (int n = 0; n < kTsStages; ++n) {
    const TsStage& s = program.stage[n];
    if (s.operation == gl::NONE) continue;
    const std::string where = "stage " + std::to_string(n) + ": ";
    if (sampledTarget(s.operation) == nullptr) {
      errors.add(0, where + operationName(s.operation) + " has no ARB fragment program form");
      continue;
    }
    if (!isOffset(s.operation)) continue;
    const Enum source = s.previous >= 0 && s.previous < n ? program.stage[s.previous].operation : gl::NONE;
    if (source != gl::TEXTURE_2D && source != gl::TEXTURE_RECTANGLE_NV) {
      errors.add(0, where + operationName(s.operation) + " must read an earlier texture_2d() or texture_rectangle() stage");
      continue;
    }
    consumed[s.previous] = true;
  }
  if (errors.total() != before) return false;

  std::string params, body, colour = "fragment.color";
  std::string temps;
  for (int n = 0; n < kTsStages; ++n) {
    const TsStage& s = program.stage[n];
    if (s.operation == gl::NONE) continue;
    const std::string unit = std::to_string(n);
    const std::string reg = "tex" + unit;
    temps += (temps.empty() ? "" : ", ") + reg;
    const std::string target = sampledTarget(s.operation);
    if (isOffset(s.operation)) {
      const std::string m = "offset" + unit;
      const std::string d = "tex" + std::to_string(s.previous);
      params += "PARAM " + m + " = program.local[" + unit + "];\n";
      body += "MAD coord, " + d + ".xxxx, " + m + ".xyxy, fragment.texcoord[" + unit + "];\n";
      body += "MAD coord, " + d + ".yyyy, " + m + ".zwzw, coord;\n";
      body += "TEX " + reg + ", coord, texture[" + unit + "], " + target + ";\n";
    } else {
      body += "TXP " + reg + ", fragment.texcoord[" + unit + "], texture[" + unit + "], " + target + ";\n";
    }
    if (!consumed[n]) {
      body += "MUL colour, " + colour + ", " + reg + ";\n";
      colour = "colour";
    }
  }
  text = "!!ARBfp1.0\n" + params;
  text += "TEMP colour, coord" + std::string(temps.empty() ? "" : ", ") + temps + ";\n";
  text += body;
  text += "MOV result.color, " + colour + ";\nEND\n";
  return true;
}

bool translateTextureShaderText(const char* text, std::string& arb, ParseErrors& errors) {
  arb.clear();
  ParsedProgram parsed;
  if (!parseProgram(text, parsed, errors)) return false;
  if (parsed.kind != ProgramKind::TextureShader) {
    errors.add(0, "not a texture shader program");
    return false;
  }
  return translateToArbFragment(parsed.textureShader, arb, errors);
}

}  // namespace shaderparse
