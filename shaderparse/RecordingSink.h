// RecordingSink: an NvCallSink that writes each call down as one line of
// text ("glTexEnvi(GL_TEXTURE_SHADER_NV, GL_SHADER_OPERATION_NV,
// GL_TEXTURE_2D)"), so a program's GL calls can be checked without the
// extensions that take them.
#pragma once

#include <string>
#include <vector>

#include "shaderparse/NvCallSink.h"

namespace shaderparse {

class RecordingSink : public NvCallSink {
 public:
  std::vector<std::string> calls;

  void loadProgramNV(Enum target, unsigned id, const std::string& text) override;
  void programStringARB(Enum target, Enum format, const std::string& text) override;
  void programParameter4fNV(Enum target, unsigned index, float x, float y, float z, float w) override;
  void programEnvParameter4fARB(Enum target, unsigned index, float x, float y, float z, float w) override;
  void trackMatrixNV(Enum target, unsigned address, Enum matrix, Enum transform) override;
  void activeTextureARB(Enum texture) override;
  void texEnvi(Enum target, Enum pname, int value) override;
  void texEnvf(Enum target, Enum pname, float value) override;
  void texEnvfv(Enum target, Enum pname, const float* values, int count) override;
  void texEnviv(Enum target, Enum pname, const int* values, int count) override;
  void enable(Enum cap) override;
  void disable(Enum cap) override;
  void combinerParameteriNV(Enum pname, int value) override;
  void combinerParameterfvNV(Enum pname, const float* rgba) override;
  void combinerStageParameterfvNV(Enum stage, Enum pname, const float* rgba) override;
  void combinerInputNV(Enum stage, Enum portion, Enum variable, Enum input, Enum mapping,
                       Enum componentUsage) override;
  void combinerOutputNV(Enum stage, Enum portion, Enum abOutput, Enum cdOutput, Enum sumOutput, Enum scale,
                        Enum bias, bool abDotProduct, bool cdDotProduct, bool muxSum) override;
  void finalCombinerInputNV(Enum variable, Enum input, Enum mapping, Enum componentUsage) override;
};

}  // namespace shaderparse
