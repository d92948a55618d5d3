// VpText: NV_vertex_program text from the parsed form.
#include "shaderparse/VpText.h"

namespace shaderparse {
namespace {

constexpr char kComponents[] = "xyzw";

std::string sourceText(const VpSource& s) {
  std::string out = s.negate ? "-" : "";
  switch (s.file) {
    case VpFile::Temporary: out += "R" + std::to_string(s.index); break;
    case VpFile::Attribute: out += "v[" + std::to_string(s.index) + "]"; break;
    case VpFile::Parameter:
      if (!s.relative) out += "c[" + std::to_string(s.index) + "]";
      else if (s.index == 0) out += "c[A0.x]";
      else out += std::string("c[A0.x ") + (s.index < 0 ? "- " : "+ ") + std::to_string(s.index < 0 ? -s.index : s.index) + "]";
      break;
    default: break;
  }
  return out + vpSwizzleSuffix(s);
}

std::string destText(const VpDest& d) {
  switch (d.file) {
    case VpFile::Temporary: return "R" + std::to_string(d.index) + vpMaskSuffix(d.mask);
    case VpFile::Output: return std::string("o[") + vpOutputName(d.index) + "]" + vpMaskSuffix(d.mask);
    case VpFile::Parameter: return "c[" + std::to_string(d.index) + "]" + vpMaskSuffix(d.mask);
    case VpFile::Address: return "A0.x";
    default: return "";
  }
}

}  // namespace

std::string vpSwizzleSuffix(const VpSource& s) {
  const std::uint8_t* w = s.swizzle;
  if (w[0] == 0 && w[1] == 1 && w[2] == 2 && w[3] == 3) return "";
  if (w[0] == w[1] && w[0] == w[2] && w[0] == w[3]) return std::string(".") + kComponents[w[0] & 3];
  std::string out = ".";
  for (int i = 0; i < 4; ++i) out += kComponents[w[i] & 3];
  return out;
}

std::string vpMaskSuffix(std::uint8_t mask) {
  if ((mask & 0xF) == 0xF) return "";
  std::string out = ".";
  for (int i = 0; i < 4; ++i)
    if (mask & (1 << i)) out += kComponents[i];
  return out;
}

std::string writeVpText(const VertexProgram& program) {
  std::string out = program.kind == VpKind::StateProgram ? "!!VSP1.0\n" : "!!VP1.0\n";
  for (const VpInstruction& in : program.code) {
    out += vpOpcodeName(in.op);
    out += " " + destText(in.dst);
    for (int i = 0; i < vpSourceCount(in.op); ++i) out += ", " + sourceText(in.src[i]);
    out += ";\n";
  }
  out += "END\n";
  return out;
}

}  // namespace shaderparse
