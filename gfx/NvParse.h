// NvParse: the show's entry point to the shader program parser. A text is
// parsed whole and only then turned into GL calls; a text that does not
// parse loads nothing, its errors wait in nvparse_get_errors() and the
// show goes on.
//
// Vertex kinds ("!!VP1.0", "!!VSP1.0", "vs.1.0") load into the program the
// caller bound: to GL_VERTEX_PROGRAM_NV where the driver has
// GL_NV_vertex_program, else, translated to "!!ARBvp1.0", to
// GL_VERTEX_PROGRAM_ARB through glProgramStringARB. "!!VCP1.0" sets
// program parameters. "!!TS1.0" and "!!RC1.0" set texture-shader and
// register-combiner state (callers compile them into display lists).
#pragma once

#include "gfx/GlExtensions.h"
#include "shaderparse/NvCallSink.h"
#include "shaderparse/ParseErrors.h"
#include "shaderparse/ShaderParse.h"

// Parses and loads through the GL; true when the text parsed and loaded.
bool nvparse(const char* text);
// Same into any sink, with the caller's options (program id, ARB path).
bool nvparse(const char* text, shaderparse::NvCallSink& sink, const shaderparse::EmitOptions& options);

// The errors of the last nvparse call: at most 32 strings ("line N: ..."),
// then a null. Valid until the next call.
const char* const* nvparse_get_errors();

// Tracks a matrix into program parameters address..address+3, as
// glTrackMatrixNV does (which it calls where the driver has it). Texts
// translated to ARB afterwards read those parameters as the matrix rows;
// GL_NONE stops the tracking at that address.
void nvparseTrackMatrix(GLuint address, GLenum matrix, GLenum transform);

// Attributes the caller feeds through glVertexAttrib rather than the
// conventional calls (bit n for v[n]): translated texts read them as
// vertex.attrib[n] (NV aliases the two; ARB drivers such as Mesa need not).
void nvparseGenericAttributes(unsigned mask);

// True when the driver offers the extension (read from the extension
// string, not from entry points).
bool nvparseHasExtension(const char* name);

// The sink that makes the real GL calls; driver errors on loading go to
// `errors`. Program parameters are mirrored to ARB env parameters when
// the driver lacks NV_vertex_program.
class GlNvCallSink : public shaderparse::NvCallSink {
 public:
  explicit GlNvCallSink(shaderparse::ParseErrors& errors);

  void loadProgramNV(shaderparse::Enum target, unsigned id, const std::string& text) override;
  void programStringARB(shaderparse::Enum target, shaderparse::Enum format, const std::string& text) override;
  void programParameter4fNV(shaderparse::Enum target, unsigned index, float x, float y, float z, float w) override;
  void programEnvParameter4fARB(shaderparse::Enum target, unsigned index, float x, float y, float z,
                                float w) override;
  void trackMatrixNV(shaderparse::Enum target, unsigned address, shaderparse::Enum matrix,
                     shaderparse::Enum transform) override;
  void activeTextureARB(shaderparse::Enum texture) override;
  void texEnvi(shaderparse::Enum target, shaderparse::Enum pname, int value) override;
  void texEnvf(shaderparse::Enum target, shaderparse::Enum pname, float value) override;
  void texEnvfv(shaderparse::Enum target, shaderparse::Enum pname, const float* values, int count) override;
  void texEnviv(shaderparse::Enum target, shaderparse::Enum pname, const int* values, int count) override;
  void enable(shaderparse::Enum cap) override;
  void disable(shaderparse::Enum cap) override;
  void combinerParameteriNV(shaderparse::Enum pname, int value) override;
  void combinerParameterfvNV(shaderparse::Enum pname, const float* rgba) override;
  void combinerStageParameterfvNV(shaderparse::Enum stage, shaderparse::Enum pname, const float* rgba) override;
  void combinerInputNV(shaderparse::Enum stage, shaderparse::Enum portion, shaderparse::Enum variable,
                       shaderparse::Enum input, shaderparse::Enum mapping, shaderparse::Enum componentUsage) override;
  void combinerOutputNV(shaderparse::Enum stage, shaderparse::Enum portion, shaderparse::Enum abOutput,
                        shaderparse::Enum cdOutput, shaderparse::Enum sumOutput, shaderparse::Enum scale,
                        shaderparse::Enum bias, bool abDotProduct, bool cdDotProduct, bool muxSum) override;
  void finalCombinerInputNV(shaderparse::Enum variable, shaderparse::Enum input, shaderparse::Enum mapping,
                            shaderparse::Enum componentUsage) override;

 private:
  shaderparse::ParseErrors& errors_;
  bool nvVertexProgram_;
  bool registerCombiners_;
};
