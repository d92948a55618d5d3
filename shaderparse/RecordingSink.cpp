// RecordingSink: GL calls as text lines.
#include "shaderparse/RecordingSink.h"

#include <cstdio>

namespace shaderparse {
namespace {

std::string name(Enum value) {
  char fallback[16];
  return glEnumName(value, fallback);
}

std::string number(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
  return text;
}

std::string floats(const float* values, int count) {
  std::string out = "{";
  for (int i = 0; i < count; ++i) out += (i ? ", " : "") + number(values[i]);
  return out + "}";
}

std::string flag(bool value) { return value ? "GL_TRUE" : "GL_FALSE"; }

}  // namespace

void RecordingSink::loadProgramNV(Enum target, unsigned id, const std::string& text) {
  calls.push_back("glLoadProgramNV(" + name(target) + ", " + std::to_string(id) + ", \"" + text + "\")");
}

void RecordingSink::programStringARB(Enum target, Enum format, const std::string& text) {
  calls.push_back("glProgramStringARB(" + name(target) + ", " + name(format) + ", \"" + text + "\")");
}

void RecordingSink::programParameter4fNV(Enum target, unsigned index, float x, float y, float z, float w) {
  calls.push_back("glProgramParameter4fNV(" + name(target) + ", " + std::to_string(index) + ", " + number(x) +
                  ", " + number(y) + ", " + number(z) + ", " + number(w) + ")");
}

void RecordingSink::programEnvParameter4fARB(Enum target, unsigned index, float x, float y, float z, float w) {
  calls.push_back("glProgramEnvParameter4fARB(" + name(target) + ", " + std::to_string(index) + ", " + number(x) +
                  ", " + number(y) + ", " + number(z) + ", " + number(w) + ")");
}

void RecordingSink::trackMatrixNV(Enum target, unsigned address, Enum matrix, Enum transform) {
  calls.push_back("glTrackMatrixNV(" + name(target) + ", " + std::to_string(address) + ", " + name(matrix) + ", " +
                  name(transform) + ")");
}

void RecordingSink::activeTextureARB(Enum texture) { calls.push_back("glActiveTextureARB(" + name(texture) + ")"); }

void RecordingSink::texEnvi(Enum target, Enum pname, int value) {
  calls.push_back("glTexEnvi(" + name(target) + ", " + name(pname) + ", " + name(static_cast<Enum>(value)) + ")");
}

void RecordingSink::texEnvf(Enum target, Enum pname, float value) {
  calls.push_back("glTexEnvf(" + name(target) + ", " + name(pname) + ", " + number(value) + ")");
}

void RecordingSink::texEnvfv(Enum target, Enum pname, const float* values, int count) {
  calls.push_back("glTexEnvfv(" + name(target) + ", " + name(pname) + ", " + floats(values, count) + ")");
}

void RecordingSink::texEnviv(Enum target, Enum pname, const int* values, int count) {
  std::string list = "{";
  for (int i = 0; i < count; ++i) list += (i ? ", " : "") + name(static_cast<Enum>(values[i]));
  calls.push_back("glTexEnviv(" + name(target) + ", " + name(pname) + ", " + list + "})");
}

void RecordingSink::enable(Enum cap) { calls.push_back("glEnable(" + name(cap) + ")"); }
void RecordingSink::disable(Enum cap) { calls.push_back("glDisable(" + name(cap) + ")"); }

void RecordingSink::combinerParameteriNV(Enum pname, int value) {
  calls.push_back("glCombinerParameteriNV(" + name(pname) + ", " + std::to_string(value) + ")");
}

void RecordingSink::combinerParameterfvNV(Enum pname, const float* rgba) {
  calls.push_back("glCombinerParameterfvNV(" + name(pname) + ", " + floats(rgba, 4) + ")");
}

void RecordingSink::combinerStageParameterfvNV(Enum stage, Enum pname, const float* rgba) {
  calls.push_back("glCombinerStageParameterfvNV(" + name(stage) + ", " + name(pname) + ", " + floats(rgba, 4) + ")");
}

void RecordingSink::combinerInputNV(Enum stage, Enum portion, Enum variable, Enum input, Enum mapping,
                                    Enum componentUsage) {
  calls.push_back("glCombinerInputNV(" + name(stage) + ", " + name(portion) + ", " + name(variable) + ", " +
                  name(input) + ", " + name(mapping) + ", " + name(componentUsage) + ")");
}

void RecordingSink::combinerOutputNV(Enum stage, Enum portion, Enum abOutput, Enum cdOutput, Enum sumOutput,
                                     Enum scale, Enum bias, bool abDotProduct, bool cdDotProduct, bool muxSum) {
  calls.push_back("glCombinerOutputNV(" + name(stage) + ", " + name(portion) + ", " + name(abOutput) + ", " +
                  name(cdOutput) + ", " + name(sumOutput) + ", " + name(scale) + ", " + name(bias) + ", " +
                  flag(abDotProduct) + ", " + flag(cdDotProduct) + ", " + flag(muxSum) + ")");
}

void RecordingSink::finalCombinerInputNV(Enum variable, Enum input, Enum mapping, Enum componentUsage) {
  calls.push_back("glFinalCombinerInputNV(" + name(variable) + ", " + name(input) + ", " + name(mapping) + ", " +
                  name(componentUsage) + ")");
}

}  // namespace shaderparse
