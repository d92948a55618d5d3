// TextureShader: the parsed form of "!!TS1.0" texts, one entry per
// texture unit, in NV_texture_shader terms, and its parser.
#pragma once

#include <string_view>

#include "shaderparse/GlEnums.h"
#include "shaderparse/ParseErrors.h"

namespace shaderparse {

constexpr int kTsStages = 4;

struct TsStage {
  Enum operation = gl::NONE;
  int previous = -1;           // PREVIOUS_TEXTURE_INPUT_NV unit, -1 when unused
  bool hasMatrix = false;      // offset operations
  float matrix[4] = {0, 0, 0, 0};
  bool hasScaleBias = false;   // the *_scale offset operations
  float scale = 0.0f, bias = 0.0f;
  bool hasCullModes = false;
  Enum cullModes[4] = {gl::GEQUAL, gl::GEQUAL, gl::GEQUAL, gl::GEQUAL};
  bool hasDotMapping = false;  // dot products: RGBA_UNSIGNED_DOT_PRODUCT_MAPPING_NV
  Enum dotMapping = gl::UNSIGNED_IDENTITY_NV;
  bool hasConstEye = false;
  float constEye[3] = {0, 0, 0};
};

struct TextureShaderProgram {
  TsStage stage[kTsStages];
};

// Parses a preprocessed body (after "!!TS1.0"); stages not named are
// GL_NONE. False with errors added when it does not parse.
bool parseTextureShaderBody(std::string_view body, int firstLine, TextureShaderProgram& program, ParseErrors& errors);

}  // namespace shaderparse
