// VertexProgramParser: NV_vertex_program syntax into VertexProgram.
#include "shaderparse/VertexProgramParser.h"

#include <cstring>

#include "shaderparse/Scanner.h"

namespace shaderparse {

bool readWriteMask(Scanner& scan, const std::string& mask, int (*componentOf)(char), std::uint8_t& bits) {
  int previous = -1;
  bits = 0;
  for (char c : mask) {
    const int component = componentOf(c);
    if (component <= previous) {
      scan.error("bad write mask '" + mask + "'");
      return false;
    }
    bits |= static_cast<std::uint8_t>(1 << component);
    previous = component;
  }
  return !mask.empty();
}

bool readRelativeOffset(Scanner& scan, VpSource& src) {
  src.index = 0;
  if (scan.peek().text != "+" && scan.peek().text != "-") return true;
  const bool minus = scan.next().text == "-";
  const int offset = scan.expectIndex(minus ? -kVpMinRelativeOffset : kVpMaxRelativeOffset);
  if (offset < 0) return false;
  src.index = minus ? -offset : offset;
  return true;
}
namespace {

struct NamedAttribute {
  const char* name;
  int index;
};

constexpr NamedAttribute kAttributeNames[] = {
    {"OPOS", 0}, {"WGHT", 1}, {"NRML", 2}, {"COL0", 3}, {"COL1", 4}, {"FOGC", 5},
    {"TEX0", 8}, {"TEX1", 9}, {"TEX2", 10}, {"TEX3", 11}, {"TEX4", 12}, {"TEX5", 13}, {"TEX6", 14}, {"TEX7", 15},
};

int componentOf(char c) {
  switch (c) {
    case 'x': return 0;
    case 'y': return 1;
    case 'z': return 2;
    case 'w': return 3;
    default: return -1;
  }
}

// "R7" -> 7 when the name is prefix + a decimal number below limit.
int numberedName(const std::string& name, const char* prefix, int limit) {
  const size_t n = std::strlen(prefix);
  if (name.size() <= n || name.size() > n + 3 || name.compare(0, n, prefix) != 0) return -1;
  int value = 0;
  for (size_t i = n; i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return -1;
    value = value * 10 + (name[i] - '0');
  }
  if (name.size() > n + 1 && name[n] == '0') return -1;
  return value < limit ? value : -1;
}

class BodyParser {
 public:
  BodyParser(Scanner& scan, VertexProgram& program) : scan_(scan), program_(program) {}

  void parseInstructions() {
    bool ended = false;
    while (!scan_.atEnd()) {
      const int line = scan_.line();
      std::string name = scan_.expectName();
      if (name == "END") {
        ended = true;
        break;
      }
      VpInstruction instruction;
      instruction.line = line;
      if (name.empty() || !vpFindOpcode(name, instruction.op)) {
        if (!name.empty()) scan_.errorAt(line, "unknown instruction '" + name + "'");
        scan_.skipStatement();
        continue;
      }
      if (!parseOperands(instruction) || !scan_.expect(";")) {
        scan_.skipStatement();
        continue;
      }
      if (program_.code.size() < static_cast<size_t>(kVpMaxInstructions) + 1)
        program_.code.push_back(instruction);
    }
    if (!ended) scan_.error("missing END");
    else if (!scan_.atEnd()) scan_.error("text after END: " + quote(scan_.peek()));
  }

  void parseConstants() {
    while (!scan_.atEnd()) {
      if (scan_.accept("END")) {
        if (!scan_.atEnd()) scan_.error("text after END: " + quote(scan_.peek()));
        return;
      }
      VpConstant constant;
      bool ok = scan_.expect("c") && scan_.expect("[") && (constant.index = scan_.expectIndex(kVpParameters - 1)) >= 0 &&
                scan_.expect("]") && scan_.expect("=") && scan_.expect("(");
      for (int i = 0; ok && i < 4; ++i) {
        double value = 0.0;
        ok = (i == 0 || scan_.expect(",")) && scan_.expectNumber(value);
        constant.value[i] = static_cast<float>(value);
      }
      ok = ok && scan_.expect(")") && scan_.expect(";");
      if (!ok) {
        scan_.skipStatement();
        continue;
      }
      program_.constants.push_back(constant);
    }
  }

 private:
  Scanner& scan_;
  VertexProgram& program_;

  bool parseOperands(VpInstruction& instruction) {
    if (instruction.op == VpOpcode::ARL) {
      if (!scan_.expect("A0") || !scan_.expect(".") || !scan_.expect("x")) return false;
      instruction.dst.file = VpFile::Address;
      instruction.dst.mask = 1;
    } else if (!parseDest(instruction.dst)) {
      return false;
    }
    for (int i = 0; i < vpSourceCount(instruction.op); ++i) {
      if (!scan_.expect(",") || !parseSource(instruction.src[i])) return false;
    }
    if (vpScalarSource(instruction.op)) {
      const std::uint8_t* s = instruction.src[0].swizzle;
      if (s[0] != s[1] || s[0] != s[2] || s[0] != s[3]) {
        scan_.error(std::string(vpOpcodeName(instruction.op)) + " needs a single source component");
        return false;
      }
    }
    return true;
  }

  bool parseDest(VpDest& dst) {
    std::string name = scan_.expectName();
    if (name.empty()) return false;
    int index = numberedName(name, "R", kVpTemporaries);
    if (index >= 0) {
      dst.file = VpFile::Temporary;
      dst.index = index;
    } else if (name == "o" && program_.kind == VpKind::Program) {
      if (!scan_.expect("[")) return false;
      std::string output = scan_.expectName();
      dst.file = VpFile::Output;
      dst.index = -1;
      for (int i = 0; i < kOutputCount; ++i)
        if (output == vpOutputName(i)) dst.index = i;
      if (dst.index < 0) {
        if (!output.empty()) scan_.error("unknown output o[" + output + "]");
        return false;
      }
      if (!scan_.expect("]")) return false;
    } else if (name == "c" && program_.kind == VpKind::StateProgram) {
      dst.file = VpFile::Parameter;
      if (!scan_.expect("[") || (dst.index = scan_.expectIndex(kVpParameters - 1)) < 0 || !scan_.expect("]"))
        return false;
    } else {
      scan_.error("cannot write to '" + name + "'");
      return false;
    }
    dst.mask = 0xF;
    if (scan_.accept(".")) {
      if (!readWriteMask(scan_, scan_.expectName(), componentOf, dst.mask)) return false;
    }
    return true;
  }

  bool parseSource(VpSource& src) {
    src.negate = scan_.accept("-");
    std::string name = scan_.expectName();
    if (name.empty()) return false;
    int index = numberedName(name, "R", kVpTemporaries);
    if (index >= 0) {
      src.file = VpFile::Temporary;
      src.index = index;
    } else if (name == "v") {
      src.file = VpFile::Attribute;
      if (!scan_.expect("[")) return false;
      if (scan_.peek().kind == TokenKind::Name) {
        std::string attribute = scan_.next().text;
        src.index = -1;
        for (const NamedAttribute& a : kAttributeNames)
          if (attribute == a.name) src.index = a.index;
        if (src.index < 0) {
          scan_.error("unknown attribute v[" + attribute + "]");
          return false;
        }
      } else if ((src.index = scan_.expectIndex(kVpAttributes - 1)) < 0) {
        return false;
      }
      if (program_.kind == VpKind::StateProgram && src.index != 0) {
        scan_.error("a state program reads only v[0]");
        return false;
      }
      if (!scan_.expect("]")) return false;
    } else if (name == "c") {
      src.file = VpFile::Parameter;
      if (!scan_.expect("[")) return false;
      if (scan_.accept("A0")) {
        src.relative = true;
        if (!scan_.expect(".") || !scan_.expect("x")) return false;
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
      std::string swizzle = scan_.expectName();
      if (swizzle.size() != 1 && swizzle.size() != 4) {
        scan_.error("bad swizzle '" + swizzle + "'");
        return false;
      }
      for (size_t i = 0; i < 4; ++i) {
        int component = componentOf(swizzle[swizzle.size() == 1 ? 0 : i]);
        if (component < 0) {
          scan_.error("bad swizzle '" + swizzle + "'");
          return false;
        }
        src.swizzle[i] = static_cast<std::uint8_t>(component);
      }
    }
    return true;
  }
};

}  // namespace

bool parseVertexProgramBody(std::string_view body, int firstLine, VertexProgram& program, ParseErrors& errors) {
  const int before = errors.total();
  Scanner scan(body, firstLine, ScanRules{'#', false}, errors);
  BodyParser parser(scan, program);
  if (program.kind == VpKind::ConstantProgram) parser.parseConstants();
  else parser.parseInstructions();
  if (errors.total() == before) checkVertexProgram(program, errors);
  return errors.total() == before;
}

bool checkVertexProgram(const VertexProgram& program, ParseErrors& errors) {
  const int before = errors.total();
  if (program.code.size() > static_cast<size_t>(kVpMaxInstructions)) {
    errors.add(program.code[kVpMaxInstructions].line, "more than 128 instructions");
    return false;
  }
  bool addressWritten = false, earlyRelativeRead = false, positionWritten = false;
  for (const VpInstruction& in : program.code) {
    positionWritten = positionWritten || (in.dst.file == VpFile::Output && in.dst.index == kOutHpos && in.dst.mask);
    int attribute = -1, parameter = -1;
    bool relative = false;
    for (int i = 0; i < vpSourceCount(in.op); ++i) {
      const VpSource& s = in.src[i];
      if (s.file == VpFile::Attribute) {
        if (attribute >= 0 && attribute != s.index) errors.add(in.line, "reads two different v[] registers");
        attribute = s.index;
      } else if (s.file == VpFile::Parameter) {
        // Once per program: later reads repeat the same fault.
        if (s.relative && !addressWritten && !earlyRelativeRead) {
          errors.add(in.line, "reads c[A0.x] before ARL sets A0.x");
          earlyRelativeRead = true;
        }
        if (parameter >= 0 && (parameter != s.index || relative != s.relative))
          errors.add(in.line, "reads two different c[] registers");
        parameter = s.index;
        relative = s.relative;
      }
    }
    if (in.op == VpOpcode::ARL) addressWritten = true;
  }
  // A vertex program must place its vertex; state programs write no o[].
  if (program.kind == VpKind::Program && !positionWritten) {
    errors.add(program.code.empty() ? 0 : program.code.back().line, "writes no component of o[HPOS]");
  }
  return errors.total() == before;
}

}  // namespace shaderparse
