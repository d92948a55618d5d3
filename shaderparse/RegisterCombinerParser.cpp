// RegisterCombinerParser: "!!RC1.0" statements into RegisterCombinerProgram.
#include "shaderparse/RegisterCombiners.h"

#include "shaderparse/Scanner.h"

namespace shaderparse {
namespace {

struct Register {
  const char* name;
  Enum value;
  bool readable, writable, finalOnly;
};

constexpr Register kRegisters[] = {
    {"tex0", gl::TEXTURE0_ARB, true, true, false},     {"tex1", gl::TEXTURE0_ARB + 1, true, true, false},
    {"tex2", gl::TEXTURE0_ARB + 2, true, true, false}, {"tex3", gl::TEXTURE0_ARB + 3, true, true, false},
    {"col0", gl::PRIMARY_COLOR_NV, true, true, false}, {"col1", gl::SECONDARY_COLOR_NV, true, true, false},
    {"spare0", gl::SPARE0_NV, true, true, false},      {"spare1", gl::SPARE1_NV, true, true, false},
    {"fog", gl::FOG, true, false, false},              {"const0", gl::CONSTANT_COLOR0_NV, true, false, false},
    {"const1", gl::CONSTANT_COLOR1_NV, true, false, false}, {"zero", gl::ZERO, true, false, false},
    {"discard", gl::DISCARD_NV, false, true, false},
    {"final_product", gl::E_TIMES_F_NV, true, false, true},
    {"color_sum", gl::SPARE0_PLUS_SECONDARY_COLOR_NV, true, false, true},
};

enum class Place { Rgb, Alpha, Final, FinalAlpha, FinalProduct };

class RcParser {
 public:
  RcParser(Scanner& scan, RegisterCombinerProgram& program) : scan_(scan), program_(program) {}

  void parse() {
    bool rgbOut = false, alphaOut = false;
    RcFinal& fin = program_.final;
    while (!scan_.atEnd()) {
      if (scan_.accept("{")) {
        parseStage();
        continue;
      }
      const int line = scan_.line();
      std::string name = scan_.expectName();
      bool ok = false;
      if (name == "const0" || name == "const1") {
        ok = parseConstant(program_.constant[name == "const1"]);
      } else if (name == "final_product") {
        ok = scan_.expect("=") && parseInput(fin.e, Place::FinalProduct) && scan_.expect("*") &&
             parseInput(fin.f, Place::FinalProduct);
      } else if (name == "clamp_color_sum") {
        fin.clampColorSum = true;
        ok = scan_.expect("(") && scan_.expect(")");
      } else if (name == "out") {
        ok = scan_.expect(".") && parseOut(rgbOut, alphaOut);
      } else if (!name.empty()) {
        scan_.errorAt(line, "unknown statement '" + name + "'");
      }
      if (!ok || !scan_.expect(";")) scan_.skipStatement();
    }
    if (!rgbOut) fin.d = {gl::SPARE0_NV, gl::UNSIGNED_IDENTITY_NV, gl::RGB};
    if (!alphaOut) fin.g = {gl::SPARE0_NV, gl::UNSIGNED_IDENTITY_NV, gl::ALPHA};
  }

 private:
  Scanner& scan_;
  RegisterCombinerProgram& program_;

  bool parseConstant(RcConstant& constant) {
    if (!scan_.expect("=") || !scan_.expect("(")) return false;
    for (int i = 0; i < 4; ++i) {
      double value = 0.0;
      if ((i > 0 && !scan_.expect(",")) || !scan_.expectNumber(value)) return false;
      if (value < 0.0 || value > 1.0) {
        scan_.error("constant colours lie in 0..1");
        return false;
      }
      constant.value[i] = static_cast<float>(value);
    }
    constant.set = true;
    return scan_.expect(")");
  }

  void parseStage() {
    const int line = scan_.line();
    RcStage stage;
    stage.alpha.a.usage = stage.alpha.b.usage = stage.alpha.c.usage = stage.alpha.d.usage = gl::ALPHA;
    bool rgbSeen = false, alphaSeen = false;
    while (!scan_.atEnd() && !scan_.accept("}")) {
      std::string name = scan_.expectName();
      if (name == "const0" || name == "const1") {
        if (!parseConstant(stage.constant[name == "const1"]) || !scan_.expect(";")) scan_.skipStatement();
      } else if (name == "rgb" || name == "alpha") {
        bool& seen = name == "rgb" ? rgbSeen : alphaSeen;
        if (seen) scan_.error("a stage has one " + name + " portion");
        seen = true;
        if (scan_.expect("{")) parsePortion(name == "rgb" ? stage.rgb : stage.alpha, name == "rgb");
      } else {
        if (!name.empty()) scan_.error("expected rgb, alpha or a constant, found '" + name + "'");
        scan_.skipStatement();
      }
    }
    if (program_.stages.size() >= static_cast<size_t>(kRcMaxStages)) {
      scan_.errorAt(line, "more than 8 general combiner stages");
      return;
    }
    program_.stages.push_back(stage);
  }

  void parsePortion(RcPortion& portion, bool rgb) {
    const Place place = rgb ? Place::Rgb : Place::Alpha;
    bool scaled = false;
    while (!scan_.atEnd() && !scan_.accept("}")) {
      const int line = scan_.line();
      std::string name = scan_.expectName();
      bool ok = false;
      if (name == "scale_by_two" || name == "scale_by_four" || name == "scale_by_one_half" ||
          name == "bias_by_negative_one_half" || name == "bias_by_negative_one_half_scale_by_two") {
        if (scaled) scan_.errorAt(line, "a portion has one scale and bias statement");
        scaled = true;
        if (name == "scale_by_two") portion.scale = gl::SCALE_BY_TWO_NV;
        if (name == "scale_by_four") portion.scale = gl::SCALE_BY_FOUR_NV;
        if (name == "scale_by_one_half") portion.scale = gl::SCALE_BY_ONE_HALF_NV;
        if (name == "bias_by_negative_one_half") portion.bias = gl::BIAS_BY_NEGATIVE_ONE_HALF_NV;
        if (name == "bias_by_negative_one_half_scale_by_two") {
          portion.bias = gl::BIAS_BY_NEGATIVE_ONE_HALF_NV;
          portion.scale = gl::SCALE_BY_TWO_NV;
        }
        ok = scan_.expect("(") && scan_.expect(")");
      } else if (!name.empty()) {
        ok = parseAssignment(portion, name, place, line);
      }
      if (!ok || !scan_.expect(";")) scan_.skipStatement();
    }
  }

  bool parseAssignment(RcPortion& portion, const std::string& target, Place place, int line) {
    const Register* out = find(target);
    if (out == nullptr || !out->writable) {
      scan_.errorAt(line, "cannot write to '" + target + "'");
      return false;
    }
    if (!scan_.expect("=")) return false;
    return parseProduct(portion, out->value, place, line);
  }

  bool parseProduct(RcPortion& portion, Enum output, Place place, int line) {
    // sum() and mux() combine the two products.
    if (scan_.peek().text == "sum" || scan_.peek().text == "mux") {
      const bool mux = scan_.next().text == "mux";
      if (!scan_.expect("(") || !scan_.expect(")")) return false;
      if (portion.sumOutput != gl::DISCARD_NV || portion.muxSum) {
        scan_.errorAt(line, "a portion has one sum or mux");
        return false;
      }
      if (portion.abDot || portion.cdDot) {
        scan_.errorAt(line, "sum and mux cannot follow a dot product");
        return false;
      }
      if (output == gl::DISCARD_NV) {
        scan_.errorAt(line, "sum and mux need an output register");
        return false;
      }
      portion.sumOutput = output;
      portion.muxSum = mux;
      return checkOutputs(portion, line);
    }
    if (portion.products >= 2) {
      scan_.errorAt(line, "a portion has two products");
      return false;
    }
    RcInput first, second;
    if (!parseInput(first, place)) return false;
    const bool dot = scan_.accept(".");
    if (dot || scan_.accept("*")) {
      if (!parseInput(second, place)) return false;
    } else {
      // A lone input is multiplied by one.
      second = {gl::ZERO, gl::UNSIGNED_INVERT_NV, place == Place::Rgb ? gl::RGB : gl::ALPHA};
    }
    if (dot && place != Place::Rgb) {
      scan_.errorAt(line, "dot products belong to rgb portions");
      return false;
    }
    if (portion.sumOutput != gl::DISCARD_NV || portion.muxSum) {
      scan_.errorAt(line, "products come before sum and mux");
      return false;
    }
    if (portion.products++ == 0) {
      portion.a = first;
      portion.b = second;
      portion.abOutput = output;
      portion.abDot = dot;
    } else {
      portion.c = first;
      portion.d = second;
      portion.cdOutput = output;
      portion.cdDot = dot;
    }
    return checkOutputs(portion, line);
  }

  bool checkOutputs(const RcPortion& p, int line) {
    const Enum outs[3] = {p.abOutput, p.cdOutput, p.sumOutput};
    for (int i = 0; i < 3; ++i)
      for (int j = i + 1; j < 3; ++j)
        if (outs[i] != gl::DISCARD_NV && outs[i] == outs[j]) {
          scan_.errorAt(line, "two results written to one register");
          return false;
        }
    return true;
  }

  static const Register* find(const std::string& name) {
    for (const Register& r : kRegisters)
      if (name == r.name) return &r;
    return nullptr;
  }

  // One input with its mapping and component: "-expand(tex0.a)".
  bool parseInput(RcInput& input, Place place) {
    const bool finalPlace = place == Place::Final || place == Place::FinalAlpha || place == Place::FinalProduct;
    const bool negate = scan_.accept("-");
    std::string function;
    if (scan_.peek().kind == TokenKind::Name && scan_.peek(1).text == "(") {
      function = scan_.next().text;
      scan_.next();
    }
    std::string name = scan_.expectName();
    if (name.empty()) return false;
    const Register* reg = find(name);
    input.usage = place == Place::Rgb || place == Place::Final || place == Place::FinalProduct ? gl::RGB : gl::ALPHA;
    if (name == "one") {
      input.input = gl::ZERO;
    } else if (reg == nullptr || !reg->readable || (reg->finalOnly && !finalPlace)) {
      scan_.error("cannot read '" + name + "' here");
      return false;
    } else {
      input.input = reg->value;
    }
    if (!parseComponent(input, place)) return false;
    // Fog's alpha reaches the final combiner only.
    if (input.input == gl::FOG && input.usage == gl::ALPHA && !finalPlace) {
      scan_.error("fog alpha is read only in the final combiner");
      return false;
    }
    if (!function.empty() && !scan_.expect(")")) return false;

    Enum mapping = gl::NONE;
    if (function.empty()) mapping = negate ? gl::SIGNED_NEGATE_NV : gl::SIGNED_IDENTITY_NV;
    else if (function == "expand") mapping = negate ? gl::EXPAND_NEGATE_NV : gl::EXPAND_NORMAL_NV;
    else if (function == "half_bias") mapping = negate ? gl::HALF_BIAS_NEGATE_NV : gl::HALF_BIAS_NORMAL_NV;
    else if (function == "unsigned" && !negate) mapping = gl::UNSIGNED_IDENTITY_NV;
    else if (function == "unsigned_invert" && !negate) mapping = gl::UNSIGNED_INVERT_NV;
    if (mapping == gl::NONE) {
      scan_.error("unknown input mapping '" + std::string(negate ? "-" : "") + function + "'");
      return false;
    }
    if (name == "one") {
      if (mapping != gl::SIGNED_IDENTITY_NV) {
        scan_.error("'one' takes no mapping");
        return false;
      }
      mapping = gl::UNSIGNED_INVERT_NV;
    }
    // The final combiner only maps unsigned.
    if (finalPlace) {
      if (mapping == gl::SIGNED_IDENTITY_NV) mapping = gl::UNSIGNED_IDENTITY_NV;
      if (mapping != gl::UNSIGNED_IDENTITY_NV && mapping != gl::UNSIGNED_INVERT_NV) {
        scan_.error("the final combiner takes only unsigned and unsigned_invert inputs");
        return false;
      }
      if ((input.input == gl::E_TIMES_F_NV || input.input == gl::SPARE0_PLUS_SECONDARY_COLOR_NV) &&
          (place == Place::FinalProduct || place == Place::FinalAlpha)) {
        scan_.error("'" + name + "' cannot feed this input");
        return false;
      }
    }
    input.mapping = mapping;
    return true;
  }

  bool parseComponent(RcInput& input, Place place) {
    if (scan_.peek().text != "." || scan_.peek(1).kind != TokenKind::Name) return true;
    const std::string c = scan_.peek(1).text;
    const bool alphaPlace = place == Place::Alpha || place == Place::FinalAlpha;
    if (c == "a") input.usage = gl::ALPHA;
    else if (c == "rgb" && !alphaPlace) input.usage = gl::RGB;
    else if (c == "b" && place == Place::Alpha) input.usage = gl::BLUE;
    else return true;  // "a . b": the dot operator, not a component
    scan_.next();
    scan_.next();
    if ((input.input == gl::E_TIMES_F_NV || input.input == gl::SPARE0_PLUS_SECONDARY_COLOR_NV) &&
        input.usage != gl::RGB) {
      scan_.error("final_product and color_sum have no alpha");
      return false;
    }
    return true;
  }

  bool parseOut(bool& rgbOut, bool& alphaOut) {
    RcFinal& fin = program_.final;
    std::string which = scan_.expectName();
    if (which == "a") {
      alphaOut = true;
      return scan_.expect("=") && parseInput(fin.g, Place::FinalAlpha);
    }
    if (which != "rgb") {
      if (!which.empty()) scan_.error("expected out.rgb or out.a");
      return false;
    }
    rgbOut = true;
    if (!scan_.expect("=")) return false;
    const RcInput zero{gl::ZERO, gl::UNSIGNED_IDENTITY_NV, gl::RGB};
    fin.a = fin.b = fin.c = fin.d = zero;
    if (scan_.accept("lerp")) {
      if (!scan_.expect("(") || !parseInput(fin.a, Place::Final) || !scan_.expect(",") ||
          !parseInput(fin.b, Place::Final) || !scan_.expect(",") || !parseInput(fin.c, Place::Final) ||
          !scan_.expect(")"))
        return false;
    } else {
      RcInput first;
      if (!parseInput(first, Place::Final)) return false;
      if (scan_.accept("*")) {
        fin.a = first;
        if (!parseInput(fin.b, Place::Final)) return false;
      } else {
        fin.d = first;
        return true;
      }
    }
    if (scan_.accept("+")) return parseInput(fin.d, Place::Final);
    return true;
  }
};

}  // namespace

bool parseRegisterCombinerBody(std::string_view body, int firstLine, RegisterCombinerProgram& program,
                               ParseErrors& errors) {
  const int before = errors.total();
  Scanner scan(body, firstLine, ScanRules{}, errors);
  RcParser(scan, program).parse();
  return errors.total() == before;
}

}  // namespace shaderparse
