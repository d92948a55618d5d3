// VertexProgram: the parsed form of "!!VP1.0", "!!VSP1.0", "!!VCP1.0" and
// "vs.1.0" texts, in NV_vertex_program terms (registers v[], c[], R, o[],
// A0.x), from which the NV and ARB texts are written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace shaderparse {

enum class VpKind { Program, StateProgram, ConstantProgram };

enum class VpOpcode : std::uint8_t {
  ARL, MOV, LIT, RCP, RSQ, EXP, LOG, MUL, ADD, DP3, DP4, DST, MIN, MAX, SLT, SGE, MAD,
};

enum class VpFile : std::uint8_t { None, Attribute, Parameter, Temporary, Address, Output };

// Output registers, in NV_vertex_program's order of o[] names.
enum VpOutput : int {
  kOutHpos = 0, kOutCol0, kOutCol1, kOutBfc0, kOutBfc1, kOutFogc, kOutPsiz, kOutTex0,
  kOutputCount = kOutTex0 + 8,
};

constexpr int kVpAttributes = 16;
constexpr int kVpParameters = 96;
constexpr int kVpTemporaries = 12;
constexpr int kVpMaxInstructions = 128;
constexpr int kVpMaxRelativeOffset = 63;
constexpr int kVpMinRelativeOffset = -64;

struct VpSource {
  VpFile file = VpFile::None;
  int index = 0;          // register number, or the offset from A0.x
  bool relative = false;  // c[A0.x + index]
  bool negate = false;
  std::uint8_t swizzle[4] = {0, 1, 2, 3};  // 0..3 = x..w
};

struct VpDest {
  VpFile file = VpFile::None;
  int index = 0;
  std::uint8_t mask = 0xF;  // bit 0 = x .. bit 3 = w
};

struct VpInstruction {
  VpOpcode op = VpOpcode::MOV;
  VpDest dst;
  VpSource src[3];
  int line = 0;
};

// c[index] = value, from "!!VCP1.0" or a vs.1.0 "def".
struct VpConstant {
  int index = 0;
  float value[4] = {0, 0, 0, 0};
};

struct VertexProgram {
  VpKind kind = VpKind::Program;
  std::vector<VpInstruction> code;
  std::vector<VpConstant> constants;
};

// Opcode facts shared by the parsers and writers.
const char* vpOpcodeName(VpOpcode op);
int vpSourceCount(VpOpcode op);
// RCP, RSQ, EXP, LOG and ARL read one component.
bool vpScalarSource(VpOpcode op);
bool vpFindOpcode(const std::string& name, VpOpcode& op);
// "HPOS", "TEX3"...; null past the end.
const char* vpOutputName(int output);

}  // namespace shaderparse
