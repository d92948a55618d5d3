// NvCallSink: where a parsed program goes. One method per GL call the
// program representations turn into, named after it; the GL back end in
// gfx/ makes the calls, the recording sink writes them down for tests.
#pragma once

#include <string>

#include "shaderparse/GlEnums.h"

namespace shaderparse {

class NvCallSink {
 public:
  virtual ~NvCallSink() = default;

  // Vertex programs.
  virtual void loadProgramNV(Enum target, unsigned id, const std::string& text) = 0;
  virtual void programStringARB(Enum target, Enum format, const std::string& text) = 0;
  virtual void programParameter4fNV(Enum target, unsigned index, float x, float y, float z, float w) = 0;
  virtual void programEnvParameter4fARB(Enum target, unsigned index, float x, float y, float z, float w) = 0;
  virtual void trackMatrixNV(Enum target, unsigned address, Enum matrix, Enum transform) = 0;

  // Texture shaders (glTexEnv on GL_TEXTURE_SHADER_NV, per texture unit).
  virtual void activeTextureARB(Enum texture) = 0;
  virtual void texEnvi(Enum target, Enum pname, int value) = 0;
  virtual void texEnvf(Enum target, Enum pname, float value) = 0;
  virtual void texEnvfv(Enum target, Enum pname, const float* values, int count) = 0;
  virtual void texEnviv(Enum target, Enum pname, const int* values, int count) = 0;

  // Register combiners.
  virtual void enable(Enum cap) = 0;
  virtual void disable(Enum cap) = 0;
  virtual void combinerParameteriNV(Enum pname, int value) = 0;
  virtual void combinerParameterfvNV(Enum pname, const float* rgba) = 0;
  virtual void combinerStageParameterfvNV(Enum stage, Enum pname, const float* rgba) = 0;
  virtual void combinerInputNV(Enum stage, Enum portion, Enum variable, Enum input, Enum mapping,
                               Enum componentUsage) = 0;
  virtual void combinerOutputNV(Enum stage, Enum portion, Enum abOutput, Enum cdOutput, Enum sumOutput,
                                Enum scale, Enum bias, bool abDotProduct, bool cdDotProduct, bool muxSum) = 0;
  virtual void finalCombinerInputNV(Enum variable, Enum input, Enum mapping, Enum componentUsage) = 0;
};

}  // namespace shaderparse
