// VertexProgram: opcode and register tables.
#include "shaderparse/VertexProgram.h"

namespace shaderparse {
namespace {

struct OpcodeRow {
  VpOpcode op;
  const char* name;
  int sources;
  bool scalar;
};

constexpr OpcodeRow kOpcodes[] = {
    {VpOpcode::ARL, "ARL", 1, true},  {VpOpcode::MOV, "MOV", 1, false}, {VpOpcode::LIT, "LIT", 1, false},
    {VpOpcode::RCP, "RCP", 1, true},  {VpOpcode::RSQ, "RSQ", 1, true},  {VpOpcode::EXP, "EXP", 1, true},
    {VpOpcode::LOG, "LOG", 1, true},  {VpOpcode::MUL, "MUL", 2, false}, {VpOpcode::ADD, "ADD", 2, false},
    {VpOpcode::DP3, "DP3", 2, false}, {VpOpcode::DP4, "DP4", 2, false}, {VpOpcode::DST, "DST", 2, false},
    {VpOpcode::MIN, "MIN", 2, false}, {VpOpcode::MAX, "MAX", 2, false}, {VpOpcode::SLT, "SLT", 2, false},
    {VpOpcode::SGE, "SGE", 2, false}, {VpOpcode::MAD, "MAD", 3, false},
};

constexpr const char* kOutputNames[kOutputCount] = {
    "HPOS", "COL0", "COL1", "BFC0", "BFC1", "FOGC", "PSIZ",
    "TEX0", "TEX1", "TEX2", "TEX3", "TEX4", "TEX5", "TEX6", "TEX7",
};

const OpcodeRow& row(VpOpcode op) { return kOpcodes[static_cast<int>(op)]; }

}  // namespace

const char* vpOpcodeName(VpOpcode op) { return row(op).name; }
int vpSourceCount(VpOpcode op) { return row(op).sources; }
bool vpScalarSource(VpOpcode op) { return row(op).scalar; }

bool vpFindOpcode(const std::string& name, VpOpcode& op) {
  for (const OpcodeRow& r : kOpcodes) {
    if (name == r.name) {
      op = r.op;
      return true;
    }
  }
  return false;
}

const char* vpOutputName(int output) {
  return output >= 0 && output < kOutputCount ? kOutputNames[output] : nullptr;
}

}  // namespace shaderparse
