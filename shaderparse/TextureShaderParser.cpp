// TextureShaderParser: "name(arguments);" per stage into TsStage.
#include "shaderparse/TextureShader.h"

#include "shaderparse/Scanner.h"

namespace shaderparse {
namespace {

enum class Args { None, Previous, Offset, OffsetScale, Cull, DotProduct, ConstEye };

struct Operation {
  const char* name;
  Enum operation;
  Args args;
  int part;  // dot-product chains: part of `of` (1of2...), 0 elsewhere
  int of;
};

constexpr Operation kOperations[] = {
    {"nop", gl::NONE, Args::None, 0, 0},
    {"texture_1d", gl::TEXTURE_1D, Args::None, 0, 0},
    {"texture_2d", gl::TEXTURE_2D, Args::None, 0, 0},
    {"texture_rectangle", gl::TEXTURE_RECTANGLE_NV, Args::None, 0, 0},
    {"texture_cube_map", gl::TEXTURE_CUBE_MAP_ARB, Args::None, 0, 0},
    {"pass_through", gl::PASS_THROUGH_NV, Args::None, 0, 0},
    {"cull_fragment", gl::CULL_FRAGMENT_NV, Args::Cull, 0, 0},
    {"offset_2d", gl::OFFSET_TEXTURE_2D_NV, Args::Offset, 0, 0},
    {"offset_rectangle", gl::OFFSET_TEXTURE_RECTANGLE_NV, Args::Offset, 0, 0},
    {"offset_2d_scale", gl::OFFSET_TEXTURE_2D_SCALE_NV, Args::OffsetScale, 0, 0},
    {"offset_rectangle_scale", gl::OFFSET_TEXTURE_RECTANGLE_SCALE_NV, Args::OffsetScale, 0, 0},
    {"dependent_ar", gl::DEPENDENT_AR_TEXTURE_2D_NV, Args::Previous, 0, 0},
    {"dependent_gb", gl::DEPENDENT_GB_TEXTURE_2D_NV, Args::Previous, 0, 0},
    {"dot_product_2d_1of2", gl::DOT_PRODUCT_NV, Args::DotProduct, 1, 2},
    {"dot_product_2d_2of2", gl::DOT_PRODUCT_TEXTURE_2D_NV, Args::DotProduct, 2, 2},
    {"dot_product_rectangle_1of2", gl::DOT_PRODUCT_NV, Args::DotProduct, 1, 2},
    {"dot_product_rectangle_2of2", gl::DOT_PRODUCT_TEXTURE_RECTANGLE_NV, Args::DotProduct, 2, 2},
    {"dot_product_depth_replace_1of2", gl::DOT_PRODUCT_NV, Args::DotProduct, 1, 2},
    {"dot_product_depth_replace_2of2", gl::DOT_PRODUCT_DEPTH_REPLACE_NV, Args::DotProduct, 2, 2},
    {"dot_product_3d_1of3", gl::DOT_PRODUCT_NV, Args::DotProduct, 1, 3},
    {"dot_product_3d_2of3", gl::DOT_PRODUCT_NV, Args::DotProduct, 2, 3},
    {"dot_product_3d_3of3", gl::DOT_PRODUCT_TEXTURE_3D_NV, Args::DotProduct, 3, 3},
    {"dot_product_cube_map_1of3", gl::DOT_PRODUCT_NV, Args::DotProduct, 1, 3},
    {"dot_product_cube_map_2of3", gl::DOT_PRODUCT_NV, Args::DotProduct, 2, 3},
    {"dot_product_cube_map_3of3", gl::DOT_PRODUCT_TEXTURE_CUBE_MAP_NV, Args::DotProduct, 3, 3},
    {"dot_product_reflect_cube_map_eye_from_qs_1of3", gl::DOT_PRODUCT_NV, Args::DotProduct, 1, 3},
    {"dot_product_reflect_cube_map_eye_from_qs_2of3", gl::DOT_PRODUCT_NV, Args::DotProduct, 2, 3},
    {"dot_product_reflect_cube_map_eye_from_qs_3of3", gl::DOT_PRODUCT_REFLECT_CUBE_MAP_NV, Args::DotProduct, 3, 3},
    {"dot_product_reflect_cube_map_const_eye_1of3", gl::DOT_PRODUCT_NV, Args::ConstEye, 1, 3},
    {"dot_product_reflect_cube_map_const_eye_2of3", gl::DOT_PRODUCT_NV, Args::DotProduct, 2, 3},
    {"dot_product_reflect_cube_map_const_eye_3of3", gl::DOT_PRODUCT_CONST_EYE_REFLECT_CUBE_MAP_NV, Args::DotProduct, 3, 3},
    {"dot_product_cube_map_and_reflect_cube_map_eye_from_qs_1of3", gl::DOT_PRODUCT_NV, Args::DotProduct, 1, 3},
    {"dot_product_cube_map_and_reflect_cube_map_eye_from_qs_2of3", gl::DOT_PRODUCT_DIFFUSE_CUBE_MAP_NV, Args::DotProduct, 2, 3},
    {"dot_product_cube_map_and_reflect_cube_map_eye_from_qs_3of3", gl::DOT_PRODUCT_REFLECT_CUBE_MAP_NV, Args::DotProduct, 3, 3},
};

class TsParser {
 public:
  TsParser(Scanner& scan, TextureShaderProgram& program) : scan_(scan), program_(program) {}

  void parse() {
    int stage = 0;
    int chainPart[kTsStages] = {}, chainOf[kTsStages] = {};
    while (!scan_.atEnd()) {
      const int line = scan_.line();
      std::string name = scan_.expectName();
      const Operation* op = nullptr;
      for (const Operation& o : kOperations)
        if (name == o.name) op = &o;
      if (op == nullptr) {
        if (!name.empty()) scan_.errorAt(line, "unknown texture shader operation '" + name + "'");
        scan_.skipStatement();
        continue;
      }
      if (stage >= kTsStages) {
        scan_.errorAt(line, "more than 4 texture shader stages");
        scan_.skipStatement();
        continue;
      }
      TsStage parsed;
      parsed.operation = op->operation;
      if (!scan_.expect("(") || !parseArguments(*op, stage, parsed) || !scan_.expect(")") || !scan_.expect(";")) {
        scan_.skipStatement();
        ++stage;
        continue;
      }
      // A dot-product chain's later parts need its earlier parts just before.
      if (op->part > 1 && (stage == 0 || chainPart[stage - 1] != op->part - 1 || chainOf[stage - 1] != op->of))
        scan_.errorAt(line, std::string(op->name) + " must follow part " + std::to_string(op->part - 1) + " of its chain");
      chainPart[stage] = op->part;
      chainOf[stage] = op->of;
      program_.stage[stage++] = parsed;
    }
    if (stage > 0 && chainPart[stage - 1] > 0 && chainPart[stage - 1] < chainOf[stage - 1])
      scan_.error("dot-product chain left unfinished");
    for (int s = 0; s + 1 < stage; ++s)
      if (chainPart[s] > 0 && chainPart[s] < chainOf[s] && chainPart[s + 1] != chainPart[s] + 1)
        scan_.error("dot-product chain at stage " + std::to_string(s) + " left unfinished");
  }

 private:
  Scanner& scan_;
  TextureShaderProgram& program_;

  // "texN" with N an earlier stage.
  bool parsePrevious(int stage, TsStage& parsed) {
    std::string name = scan_.expectName();
    if (name.size() == 4 && name.compare(0, 3, "tex") == 0 && name[3] >= '0' && name[3] <= '3') {
      parsed.previous = name[3] - '0';
      if (parsed.previous < stage) return true;
      scan_.error("stage " + std::to_string(stage) + " cannot read " + name + ", which is not an earlier stage");
      return false;
    }
    if (!name.empty()) scan_.error("expected tex0..tex3, found '" + name + "'");
    return false;
  }

  bool parseNumbers(float* values, int count) {
    for (int i = 0; i < count; ++i) {
      double value = 0.0;
      if (!scan_.expect(",") || !scan_.expectNumber(value)) return false;
      values[i] = static_cast<float>(value);
    }
    return true;
  }

  bool parseArguments(const Operation& op, int stage, TsStage& parsed) {
    switch (op.args) {
      case Args::None: return true;
      case Args::Previous: return parsePrevious(stage, parsed);
      case Args::Offset:
        parsed.hasMatrix = true;
        return parsePrevious(stage, parsed) && parseNumbers(parsed.matrix, 4);
      case Args::OffsetScale: {
        parsed.hasMatrix = parsed.hasScaleBias = true;
        float scaleBias[2] = {0, 0};
        bool ok = parsePrevious(stage, parsed) && parseNumbers(parsed.matrix, 4) && parseNumbers(scaleBias, 2);
        parsed.scale = scaleBias[0];
        parsed.bias = scaleBias[1];
        return ok;
      }
      case Args::Cull:
        parsed.hasCullModes = true;
        for (int i = 0; i < 4; ++i) {
          if (i > 0 && !scan_.expect(",")) return false;
          std::string mode = scan_.expectName();
          if (mode == "LESS_THAN_ZERO") parsed.cullModes[i] = gl::LESS;
          else if (mode == "GEQUAL_TO_ZERO") parsed.cullModes[i] = gl::GEQUAL;
          else {
            if (!mode.empty()) scan_.error("expected LESS_THAN_ZERO or GEQUAL_TO_ZERO, found '" + mode + "'");
            return false;
          }
        }
        return true;
      case Args::DotProduct:
      case Args::ConstEye: {
        // expand(texN) reads the previous stage's colour as signed.
        parsed.hasDotMapping = true;
        bool expand = scan_.accept("expand");
        if (expand && !scan_.expect("(")) return false;
        if (!parsePrevious(stage, parsed) || (expand && !scan_.expect(")"))) return false;
        parsed.dotMapping = expand ? gl::EXPAND_NORMAL_NV : gl::UNSIGNED_IDENTITY_NV;
        if (op.args == Args::ConstEye) {
          parsed.hasConstEye = true;
          return parseNumbers(parsed.constEye, 3);
        }
        return true;
      }
    }
    return false;
  }
};

}  // namespace

bool parseTextureShaderBody(std::string_view body, int firstLine, TextureShaderProgram& program, ParseErrors& errors) {
  const int before = errors.total();
  Scanner scan(body, firstLine, ScanRules{}, errors);
  TsParser(scan, program).parse();
  return errors.total() == before;
}

}  // namespace shaderparse
