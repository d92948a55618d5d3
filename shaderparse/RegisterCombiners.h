// RegisterCombiners: the parsed form of "!!RC1.0" texts (constants, up to
// eight general combiner stages with rgb and alpha portions, the final
// combiner), in NV_register_combiners terms, and its parser.
//
// Syntax, one statement per ';':
//   const0 = (r, g, b, a);             global (or, inside a stage, per-stage)
//   { rgb { ... } alpha { ... } }      one general combiner stage
//     spare0 = A . B;  spare1 = C * D; first product is AB, second CD
//     spare0 = sum();  spare0 = mux(); AB + CD, or the mux on spare0's alpha
//     scale_by_two(); scale_by_four(); scale_by_one_half();
//     bias_by_negative_one_half(); bias_by_negative_one_half_scale_by_two();
//   final_product = E * F;
//   out.rgb = lerp(A, B, C) + D;  out.rgb = A * B + D;  out.rgb = D;
//   out.a = G;  clamp_color_sum();
// Inputs: tex0..tex3, col0, col1, fog, spare0, spare1, const0, const1,
// zero, one; in the final combiner also final_product and color_sum.
// Mappings: expand(x), half_bias(x), unsigned(x), unsigned_invert(x), -x,
// -expand(x), -half_bias(x); a bare x keeps its sign (signed identity).
// Components: .rgb, .a, and .b in alpha portions.
#pragma once

#include <string_view>
#include <vector>

#include "shaderparse/GlEnums.h"
#include "shaderparse/ParseErrors.h"

namespace shaderparse {

constexpr int kRcMaxStages = 8;

struct RcInput {
  Enum input = gl::ZERO;
  Enum mapping = gl::UNSIGNED_IDENTITY_NV;
  Enum usage = gl::RGB;
};

struct RcPortion {
  RcInput a, b, c, d;
  Enum abOutput = gl::DISCARD_NV, cdOutput = gl::DISCARD_NV, sumOutput = gl::DISCARD_NV;
  Enum scale = gl::NONE, bias = gl::NONE;
  bool abDot = false, cdDot = false, muxSum = false;
  int products = 0;
};

struct RcConstant {
  bool set = false;
  float value[4] = {0, 0, 0, 0};
};

struct RcStage {
  RcPortion rgb, alpha;
  RcConstant constant[2];
};

struct RcFinal {
  RcInput a, b, c, d, e, f, g;
  bool clampColorSum = false;
};

struct RegisterCombinerProgram {
  RcConstant constant[2];
  std::vector<RcStage> stages;
  RcFinal final;
};

bool parseRegisterCombinerBody(std::string_view body, int firstLine, RegisterCombinerProgram& program,
                               ParseErrors& errors);

}  // namespace shaderparse
