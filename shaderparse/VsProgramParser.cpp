// VsProgramParser: vs.1.0 instructions as NV_vertex_program instructions.
#include "shaderparse/VsProgramParser.h"

#include <cctype>

#include "shaderparse/Scanner.h"
#include "shaderparse/VertexProgramParser.h"

namespace shaderparse {
namespace {

struct VsOpcode {
  const char* name;
  VpOpcode op;
  int sources;
  bool negateSecond;  // sub is add with the second source negated
  int matrixRows;     // m4x4 and friends expand into dot products
  char macro = 0;     // 'e' exp, 'l' log, 'f' frc: expanded by expandMacro
};

// The exp, log and frc macros work in a temporary the program leaves unused;
// this index stands for it until the whole program is read.
constexpr int kScratch = kVpTemporaries;

constexpr VsOpcode kOpcodes[] = {
    {"mov", VpOpcode::MOV, 1, false, 0}, {"add", VpOpcode::ADD, 2, false, 0}, {"sub", VpOpcode::ADD, 2, true, 0},
    {"mul", VpOpcode::MUL, 2, false, 0}, {"mad", VpOpcode::MAD, 3, false, 0}, {"dp3", VpOpcode::DP3, 2, false, 0},
    {"dp4", VpOpcode::DP4, 2, false, 0}, {"rcp", VpOpcode::RCP, 1, false, 0}, {"rsq", VpOpcode::RSQ, 1, false, 0},
    {"max", VpOpcode::MAX, 2, false, 0}, {"min", VpOpcode::MIN, 2, false, 0}, {"slt", VpOpcode::SLT, 2, false, 0},
    {"sge", VpOpcode::SGE, 2, false, 0}, {"expp", VpOpcode::EXP, 1, false, 0}, {"logp", VpOpcode::LOG, 1, false, 0},
    {"lit", VpOpcode::LIT, 1, false, 0}, {"dst", VpOpcode::DST, 2, false, 0},
    {"m4x4", VpOpcode::DP4, 2, false, 4}, {"m4x3", VpOpcode::DP4, 2, false, 3},
    {"m3x4", VpOpcode::DP3, 2, false, 4}, {"m3x3", VpOpcode::DP3, 2, false, 3}, {"m3x2", VpOpcode::DP3, 2, false, 2},
    {"exp", VpOpcode::EXP, 1, false, 0, 'e'}, {"log", VpOpcode::LOG, 1, false, 0, 'l'},
    {"frc", VpOpcode::MOV, 1, false, 0, 'f'},
};

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

int componentOf(char c) {
  switch (c) {
    case 'x': case 'r': return 0;
    case 'y': case 'g': return 1;
    case 'z': case 'b': return 2;
    case 'w': case 'a': return 3;
    default: return -1;
  }
}

// "r11" -> 11 for prefix "r" below limit; -1 otherwise.
int numbered(const std::string& name, const char* prefix, int limit) {
  const std::string p(prefix);
  if (name.size() <= p.size() || name.size() > p.size() + 3 || name.compare(0, p.size(), p) != 0) return -1;
  int value = 0;
  for (size_t i = p.size(); i < name.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return -1;
    value = value * 10 + (name[i] - '0');
  }
  return value < limit ? value : -1;
}

class VsParser {
 public:
  VsParser(Scanner& scan, VertexProgram& program) : scan_(scan), program_(program) {}

  void parse() {
    while (!scan_.atEnd()) {
      if (scan_.accept("\n")) continue;
      const int line = scan_.line();
      std::string name = lower(scan_.expectName());
      if (!name.empty() && !parseLine(name, line)) {
        scan_.skipStatement();
        continue;
      }
      if (name.empty() || (!scan_.atEnd() && !scan_.expect("\n"))) scan_.skipStatement();
    }
  }

 private:
  Scanner& scan_;
  VertexProgram& program_;

  bool parseLine(const std::string& name, int line) {
    if (name == "nop") return true;
    if (name == "def") return parseDef();
    const VsOpcode* opcode = nullptr;
    for (const VsOpcode& o : kOpcodes)
      if (name == o.name) opcode = &o;
    if (opcode == nullptr) {
      scan_.errorAt(line, "unknown instruction '" + name + "'");
      return false;
    }
    VpInstruction in;
    in.op = opcode->op;
    in.line = line;
    if (!parseDest(in.dst)) return false;
    if (in.dst.file == VpFile::Address) {
      if (opcode->op != VpOpcode::MOV) {
        scan_.error("only mov writes a0.x");
        return false;
      }
      in.op = VpOpcode::ARL;
    }
    for (int i = 0; i < opcode->sources; ++i) {
      if (!scan_.expect(",") || !parseSource(in.src[i], vpScalarSource(in.op))) return false;
    }
    if (opcode->negateSecond) in.src[1].negate = !in.src[1].negate;
    if (opcode->macro) return expandMacro(in, opcode->macro);
    if (opcode->matrixRows == 0) {
      push(in);
      return true;
    }
    // mNxM dst, src, matrix: one dot product per row, rows in consecutive registers.
    if (in.src[1].relative || in.src[1].file == VpFile::Attribute) {
      scan_.error(name + " needs a constant or temporary matrix");
      return false;
    }
    const int limit = in.src[1].file == VpFile::Parameter ? kVpParameters : kVpTemporaries;
    for (int row = 0; row < opcode->matrixRows; ++row) {
      VpInstruction dot = in;
      dot.dst.mask = static_cast<std::uint8_t>(1 << row);
      if ((in.dst.mask & dot.dst.mask) == 0) continue;
      dot.src[1].index = in.src[1].index + row;
      if (dot.src[1].index >= limit) {
        scan_.error(name + " matrix runs past the last register");
        return false;
      }
      push(dot);
    }
    return true;
  }

  // exp and log: 2^s and log2|s| of the whole value are the z of EXP and
  // LOG (as precise as the target makes them), copied to every written
  // component. frc: the fraction is the y of EXP, for x and y one at a time.
  bool expandMacro(const VpInstruction& in, char macro) {
    if (in.dst.file == VpFile::Address) {
      scan_.error("only mov writes a0.x");
      return false;
    }
    VpInstruction first = in, copy = in;
    first.dst = VpDest{VpFile::Temporary, kScratch, 0};
    copy.op = VpOpcode::MOV;
    copy.src[0] = VpSource{VpFile::Temporary, kScratch};
    if (macro != 'f') {
      first.dst.mask = 4;
      for (std::uint8_t& c : copy.src[0].swizzle) c = 2;
      push(first);
      push(copy);
      return true;
    }
    if ((in.dst.mask & ~3) != 0) {
      scan_.error("frc writes only x and y");
      return false;
    }
    // x through the scratch first, so that y may overwrite its own source.
    first.op = VpOpcode::EXP;
    first.dst.mask = 2;
    for (std::uint8_t& c : first.src[0].swizzle) c = in.src[0].swizzle[0];
    VpInstruction fractionY = first;
    fractionY.dst = in.dst;
    fractionY.dst.mask = 2;
    for (std::uint8_t& c : fractionY.src[0].swizzle) c = in.src[0].swizzle[1];
    for (std::uint8_t& c : copy.src[0].swizzle) c = 1;
    copy.dst.mask = 1;
    if (in.dst.mask & 1) push(first);
    if (in.dst.mask & 2) push(fractionY);
    if (in.dst.mask & 1) push(copy);
    return true;
  }

  void push(const VpInstruction& in) {
    if (program_.code.size() <= static_cast<size_t>(kVpMaxInstructions)) program_.code.push_back(in);
  }

  bool parseDef() {
    VpConstant constant;
    std::string reg = lower(scan_.expectName());
    constant.index = numbered(reg, "c", kVpParameters);
    if (constant.index < 0) {
      if (!reg.empty()) scan_.error("def needs a constant register, found '" + reg + "'");
      return false;
    }
    for (int i = 0; i < 4; ++i) {
      double value = 0.0;
      if (!scan_.expect(",") || !scan_.expectNumber(value)) return false;
      constant.value[i] = static_cast<float>(value);
    }
    program_.constants.push_back(constant);
    return true;
  }

  bool parseDest(VpDest& dst) {
    std::string name = lower(scan_.expectName());
    if (name.empty()) return false;
    int index;
    if ((index = numbered(name, "r", kVpTemporaries)) >= 0) {
      dst.file = VpFile::Temporary;
      dst.index = index;
    } else if (name == "a0") {
      dst.file = VpFile::Address;
      if (!scan_.expect(".") || !scan_.expect("x")) return false;
      dst.mask = 1;
      return true;
    } else if (name == "opos" || name == "ofog" || name == "opts") {
      dst.file = VpFile::Output;
      dst.index = name == "opos" ? kOutHpos : name == "ofog" ? kOutFogc : kOutPsiz;
    } else if ((index = numbered(name, "od", 2)) >= 0) {
      dst.file = VpFile::Output;
      dst.index = kOutCol0 + index;
    } else if ((index = numbered(name, "ot", 8)) >= 0) {
      dst.file = VpFile::Output;
      dst.index = kOutTex0 + index;
    } else {
      scan_.error("cannot write to '" + name + "'");
      return false;
    }
    dst.mask = 0xF;
    if (scan_.accept(".")) {
      if (!readWriteMask(scan_, lower(scan_.expectName()), componentOf, dst.mask)) return false;
    }
    return true;
  }

  bool parseSource(VpSource& src, bool scalar) {
    src.negate = scan_.accept("-");
    std::string name = lower(scan_.expectName());
    if (name.empty()) return false;
    int index;
    if ((index = numbered(name, "r", kVpTemporaries)) >= 0) {
      src.file = VpFile::Temporary;
      src.index = index;
    } else if ((index = numbered(name, "v", kVpAttributes)) >= 0) {
      src.file = VpFile::Attribute;
      src.index = index;
    } else if ((index = numbered(name, "c", kVpParameters)) >= 0) {
      src.file = VpFile::Parameter;
      src.index = index;
    } else if (name == "c") {
      src.file = VpFile::Parameter;
      if (!scan_.expect("[")) return false;
      if (scan_.peek().kind == TokenKind::Name) {
        if (lower(scan_.next().text) != "a0" || !scan_.expect(".") || !scan_.expect("x")) {
          scan_.error("relative addressing uses a0.x");
          return false;
        }
        src.relative = true;
        src.index = 0;
        if (!readRelativeOffset(scan_, src)) return false;
      } else if ((src.index = scan_.expectIndex(kVpParameters - 1)) < 0) {
        return false;
      }
      if (!scan_.expect("]")) return false;
    } else {
      scan_.error("cannot read from '" + name + "'");
      return false;
    }
    if (scan_.accept(".")) {
      std::string swizzle = lower(scan_.expectName());
      if (swizzle.empty() || swizzle.size() > 4) {
        scan_.error("bad swizzle '" + swizzle + "'");
        return false;
      }
      // Missing components repeat the last one given.
      for (size_t i = 0; i < 4; ++i) {
        int component = componentOf(swizzle[i < swizzle.size() ? i : swizzle.size() - 1]);
        if (component < 0) {
          scan_.error("bad swizzle '" + swizzle + "'");
          return false;
        }
        src.swizzle[i] = static_cast<std::uint8_t>(component);
      }
    } else if (scalar) {
      // A scalar instruction without a component reads w.
      for (std::uint8_t& s : src.swizzle) s = 3;
    }
    if (scalar && (src.swizzle[0] != src.swizzle[1] || src.swizzle[0] != src.swizzle[2] ||
                   src.swizzle[0] != src.swizzle[3])) {
      scan_.error("a scalar instruction reads one component");
      return false;
    }
    return true;
  }
};

// Gives the macros' scratch the highest temporary the program never names.
void placeScratch(VertexProgram& program, ParseErrors& errors) {
  bool used[kVpTemporaries + 1] = {};
  int firstLine = -1;
  for (const VpInstruction& in : program.code) {
    if (in.dst.file == VpFile::Temporary) used[in.dst.index] = true;
    for (const VpSource& src : in.src)
      if (src.file == VpFile::Temporary) used[src.index] = true;
    if (firstLine < 0 && (in.dst.file == VpFile::Temporary && in.dst.index == kScratch)) firstLine = in.line;
  }
  if (firstLine < 0) return;
  int scratch = kVpTemporaries - 1;
  while (scratch >= 0 && used[scratch]) --scratch;
  if (scratch < 0) {
    errors.add(firstLine, "exp, log and frc need a temporary register the program does not use");
    return;
  }
  for (VpInstruction& in : program.code) {
    if (in.dst.file == VpFile::Temporary && in.dst.index == kScratch) in.dst.index = scratch;
    for (VpSource& src : in.src)
      if (src.file == VpFile::Temporary && src.index == kScratch) src.index = scratch;
  }
}

}  // namespace

bool parseVsProgramBody(std::string_view body, int firstLine, VertexProgram& program, ParseErrors& errors) {
  const int before = errors.total();
  program.kind = VpKind::Program;
  Scanner scan(body, firstLine, ScanRules{';', true}, errors);
  VsParser(scan, program).parse();
  if (errors.total() == before) placeScratch(program, errors);
  if (errors.total() == before) checkVertexProgram(program, errors);
  return errors.total() == before;
}

}  // namespace shaderparse
