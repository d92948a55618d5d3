// ArbTranslation: NV vertex program -> ARB vertex program text.
#include "shaderparse/ArbTranslation.h"

#include "shaderparse/VpText.h"

namespace shaderparse {
namespace {

constexpr const char* kOutputs[kOutputCount] = {
    "result.position", "result.color", "result.color.secondary", "result.color.back",
    "result.color.back.secondary", "result.fogcoord", "result.pointsize",
    "result.texcoord[0]", "result.texcoord[1]", "result.texcoord[2]", "result.texcoord[3]",
    "result.texcoord[4]", "result.texcoord[5]", "result.texcoord[6]", "result.texcoord[7]",
};

std::string attributeName(int index, std::uint32_t generic) {
  if (index == 0) return "vertex.position";
  if ((generic & (1u << index)) == 0) {
    switch (index) {
      case 2: return "vertex.normal";
      case 3: return "vertex.color";
      case 4: return "vertex.color.secondary";
      case 5: return "vertex.fogcoord";
      default:
        if (index >= 8) return "vertex.texcoord[" + std::to_string(index - 8) + "]";
    }
  }
  return "vertex.attrib[" + std::to_string(index) + "]";
}

const char* matrixName(Enum matrix) {
  switch (matrix) {
    case gl::MODELVIEW_PROJECTION_NV: return "state.matrix.mvp";
    case gl::MODELVIEW: return "state.matrix.modelview";
    case gl::PROJECTION: return "state.matrix.projection";
    case gl::TEXTURE: return "state.matrix.texture";
    default: return nullptr;
  }
}

const char* transformSuffix(Enum transform) {
  switch (transform) {
    case gl::IDENTITY_NV: return "";
    case gl::INVERSE_NV: return ".inverse";
    case gl::TRANSPOSE_NV: return ".transpose";
    case gl::INVERSE_TRANSPOSE_NV: return ".invtrans";
    default: return nullptr;
  }
}

// What one c[] slot binds to: an env parameter or a row of a tracked matrix.
struct Slot {
  int track = -1;  // index into options.tracked, or -1 for program.env
  int row = 0;
};

std::string range(const std::string& base, int first, int last) {
  return base + "[" + std::to_string(first) + (first == last ? "" : ".." + std::to_string(last)) + "]";
}

std::string paramArray(int size, const ArbOptions& options) {
  std::vector<Slot> slots(static_cast<size_t>(size));
  for (size_t t = 0; t < options.tracked.size(); ++t)
    for (int row = 0; row < 4; ++row) {
      int at = options.tracked[t].address + row;
      if (at >= 0 && at < size) slots[static_cast<size_t>(at)] = {static_cast<int>(t), row};
    }
  std::string out = "PARAM c[" + std::to_string(size) + "] = { ";
  for (int i = 0; i < size;) {
    const Slot first = slots[static_cast<size_t>(i)];
    int j = i + 1;
    while (j < size && slots[static_cast<size_t>(j)].track == first.track &&
           (first.track < 0 || slots[static_cast<size_t>(j)].row == first.row + (j - i)))
      ++j;
    if (i > 0) out += ", ";
    if (first.track < 0) {
      out += range("program.env", i, j - 1);
    } else {
      const TrackedMatrix& m = options.tracked[static_cast<size_t>(first.track)];
      out += std::string(matrixName(m.matrix)) + transformSuffix(m.transform) +
             range(".row", first.row, first.row + (j - i) - 1);
    }
    i = j;
  }
  return out + " };\n";
}

std::string sourceText(const VpSource& s, const ArbOptions& options) {
  std::string out = s.negate ? "-" : "";
  switch (s.file) {
    case VpFile::Temporary: out += "R" + std::to_string(s.index); break;
    case VpFile::Attribute: out += attributeName(s.index, options.genericAttributes); break;
    case VpFile::Parameter:
      if (!s.relative) out += "c[" + std::to_string(s.index) + "]";
      else if (s.index == 0) out += "c[A0.x]";
      else out += std::string("c[A0.x") + (s.index < 0 ? "-" : "+") + std::to_string(s.index < 0 ? -s.index : s.index) + "]";
      break;
    default: break;
  }
  return out + vpSwizzleSuffix(s);
}

}  // namespace

bool translateToArb(const VertexProgram& program, const ArbOptions& options, std::string& text, ParseErrors& errors) {
  if (program.kind != VpKind::Program) {
    errors.add(0, "vertex state programs need NV_vertex_program");
    return false;
  }
  for (const TrackedMatrix& m : options.tracked) {
    if (matrixName(m.matrix) == nullptr || transformSuffix(m.transform) == nullptr || m.address < 0 ||
        m.address > kVpParameters - 4 || (m.address & 3) != 0) {
      errors.add(0, "cannot translate the tracked matrix at c[" + std::to_string(m.address) + "]");
      return false;
    }
  }

  // Which registers the program touches, and which temporaries it reads
  // before writing (NV starts them at zero, ARB leaves them undefined).
  bool address = false, relative = false;
  int parameters = 0;
  std::uint8_t written[kVpTemporaries] = {};
  bool used[kVpTemporaries] = {}, clear[kVpTemporaries] = {};
  for (const VpInstruction& in : program.code) {
    for (int i = 0; i < vpSourceCount(in.op); ++i) {
      const VpSource& s = in.src[i];
      if (s.file == VpFile::Parameter) {
        relative = relative || s.relative;
        if (!s.relative && s.index + 1 > parameters) parameters = s.index + 1;
      } else if (s.file == VpFile::Temporary) {
        used[s.index] = true;
        std::uint8_t read = 0;
        for (std::uint8_t c : s.swizzle) read |= static_cast<std::uint8_t>(1 << c);
        if ((read & ~written[s.index]) != 0) clear[s.index] = true;
      }
    }
    if (in.dst.file == VpFile::Temporary) {
      used[in.dst.index] = true;
      written[in.dst.index] |= in.dst.mask;
    }
    address = address || in.op == VpOpcode::ARL;
  }
  if (relative) parameters = kVpParameters;

  text = "!!ARBvp1.0\n";
  if (address) text += "ADDRESS A0;\n";
  std::string temps;
  for (int r = 0; r < kVpTemporaries; ++r)
    if (used[r]) temps += (temps.empty() ? "TEMP R" : ", R") + std::to_string(r);
  if (!temps.empty()) text += temps + ";\n";
  if (parameters > 0) text += paramArray(parameters, options);
  for (int r = 0; r < kVpTemporaries; ++r)
    if (clear[r]) text += "MOV R" + std::to_string(r) + ", {0, 0, 0, 0};\n";
  for (const VpInstruction& in : program.code) {
    text += vpOpcodeName(in.op);
    text += ' ';
    switch (in.dst.file) {
      case VpFile::Temporary: text += "R" + std::to_string(in.dst.index) + vpMaskSuffix(in.dst.mask); break;
      case VpFile::Output: text += std::string(kOutputs[in.dst.index]) + vpMaskSuffix(in.dst.mask); break;
      case VpFile::Address: text += "A0.x"; break;
      default: break;
    }
    for (int i = 0; i < vpSourceCount(in.op); ++i) text += ", " + sourceText(in.src[i], options);
    text += ";\n";
  }
  text += "END\n";
  return true;
}

}  // namespace shaderparse
