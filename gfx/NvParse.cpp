// NvParse: nvparse, its error list and the GL back end of the parser.
#include "gfx/NvParse.h"

#include <cstring>
#include <vector>

using shaderparse::Enum;
namespace sgl = shaderparse::gl;

// The parser's enum numbers are the GL header's.
static_assert(sgl::VERTEX_PROGRAM_NV == GL_VERTEX_PROGRAM_NV && sgl::VERTEX_STATE_PROGRAM_NV == GL_VERTEX_STATE_PROGRAM_NV &&
              sgl::VERTEX_PROGRAM_ARB == GL_VERTEX_PROGRAM_ARB && sgl::PROGRAM_FORMAT_ASCII_ARB == GL_PROGRAM_FORMAT_ASCII_ARB &&
              sgl::MODELVIEW_PROJECTION_NV == GL_MODELVIEW_PROJECTION_NV && sgl::IDENTITY_NV == GL_IDENTITY_NV &&
              sgl::INVERSE_NV == GL_INVERSE_NV && sgl::TRANSPOSE_NV == GL_TRANSPOSE_NV &&
              sgl::INVERSE_TRANSPOSE_NV == GL_INVERSE_TRANSPOSE_NV && sgl::MODELVIEW == GL_MODELVIEW &&
              sgl::PROJECTION == GL_PROJECTION && sgl::TEXTURE == GL_TEXTURE);
static_assert(sgl::TEXTURE0_ARB == GL_TEXTURE0_ARB && sgl::TEXTURE_SHADER_NV == GL_TEXTURE_SHADER_NV &&
              sgl::SHADER_OPERATION_NV == GL_SHADER_OPERATION_NV && sgl::CULL_MODES_NV == GL_CULL_MODES_NV &&
              sgl::OFFSET_TEXTURE_MATRIX_NV == GL_OFFSET_TEXTURE_MATRIX_NV &&
              sgl::OFFSET_TEXTURE_SCALE_NV == GL_OFFSET_TEXTURE_SCALE_NV &&
              sgl::OFFSET_TEXTURE_BIAS_NV == GL_OFFSET_TEXTURE_BIAS_NV &&
              sgl::PREVIOUS_TEXTURE_INPUT_NV == GL_PREVIOUS_TEXTURE_INPUT_NV && sgl::CONST_EYE_NV == GL_CONST_EYE_NV &&
              sgl::RGBA_UNSIGNED_DOT_PRODUCT_MAPPING_NV == GL_RGBA_UNSIGNED_DOT_PRODUCT_MAPPING_NV &&
              sgl::UNSIGNED_IDENTITY_NV == GL_UNSIGNED_IDENTITY_NV && sgl::EXPAND_NORMAL_NV == GL_EXPAND_NORMAL_NV &&
              sgl::TEXTURE_1D == GL_TEXTURE_1D && sgl::TEXTURE_2D == GL_TEXTURE_2D &&
              sgl::TEXTURE_RECTANGLE_NV == GL_TEXTURE_RECTANGLE_NV && sgl::TEXTURE_CUBE_MAP_ARB == GL_TEXTURE_CUBE_MAP_ARB &&
              sgl::PASS_THROUGH_NV == GL_PASS_THROUGH_NV && sgl::CULL_FRAGMENT_NV == GL_CULL_FRAGMENT_NV &&
              sgl::OFFSET_TEXTURE_2D_NV == GL_OFFSET_TEXTURE_2D_NV &&
              sgl::OFFSET_TEXTURE_2D_SCALE_NV == GL_OFFSET_TEXTURE_2D_SCALE_NV &&
              sgl::OFFSET_TEXTURE_RECTANGLE_NV == GL_OFFSET_TEXTURE_RECTANGLE_NV &&
              sgl::OFFSET_TEXTURE_RECTANGLE_SCALE_NV == GL_OFFSET_TEXTURE_RECTANGLE_SCALE_NV &&
              sgl::DEPENDENT_AR_TEXTURE_2D_NV == GL_DEPENDENT_AR_TEXTURE_2D_NV &&
              sgl::DEPENDENT_GB_TEXTURE_2D_NV == GL_DEPENDENT_GB_TEXTURE_2D_NV && sgl::DOT_PRODUCT_NV == GL_DOT_PRODUCT_NV &&
              sgl::DOT_PRODUCT_DEPTH_REPLACE_NV == GL_DOT_PRODUCT_DEPTH_REPLACE_NV &&
              sgl::DOT_PRODUCT_TEXTURE_2D_NV == GL_DOT_PRODUCT_TEXTURE_2D_NV &&
              sgl::DOT_PRODUCT_TEXTURE_RECTANGLE_NV == GL_DOT_PRODUCT_TEXTURE_RECTANGLE_NV &&
              sgl::DOT_PRODUCT_TEXTURE_3D_NV == GL_DOT_PRODUCT_TEXTURE_3D_NV &&
              sgl::DOT_PRODUCT_TEXTURE_CUBE_MAP_NV == GL_DOT_PRODUCT_TEXTURE_CUBE_MAP_NV &&
              sgl::DOT_PRODUCT_DIFFUSE_CUBE_MAP_NV == GL_DOT_PRODUCT_DIFFUSE_CUBE_MAP_NV &&
              sgl::DOT_PRODUCT_REFLECT_CUBE_MAP_NV == GL_DOT_PRODUCT_REFLECT_CUBE_MAP_NV &&
              sgl::DOT_PRODUCT_CONST_EYE_REFLECT_CUBE_MAP_NV == GL_DOT_PRODUCT_CONST_EYE_REFLECT_CUBE_MAP_NV &&
              sgl::LESS == GL_LESS && sgl::GEQUAL == GL_GEQUAL && sgl::NONE == GL_NONE);
static_assert(sgl::COMBINER0_NV == GL_COMBINER0_NV && sgl::NUM_GENERAL_COMBINERS_NV == GL_NUM_GENERAL_COMBINERS_NV &&
              sgl::COLOR_SUM_CLAMP_NV == GL_COLOR_SUM_CLAMP_NV && sgl::PER_STAGE_CONSTANTS_NV == GL_PER_STAGE_CONSTANTS_NV &&
              sgl::REGISTER_COMBINERS_NV == GL_REGISTER_COMBINERS_NV &&
              sgl::CONSTANT_COLOR0_NV == GL_CONSTANT_COLOR0_NV && sgl::CONSTANT_COLOR1_NV == GL_CONSTANT_COLOR1_NV &&
              sgl::VARIABLE_A_NV == GL_VARIABLE_A_NV && sgl::VARIABLE_G_NV == GL_VARIABLE_G_NV && sgl::RGB == GL_RGB &&
              sgl::ALPHA == GL_ALPHA && sgl::BLUE == GL_BLUE && sgl::ZERO == GL_ZERO && sgl::FOG == GL_FOG &&
              sgl::PRIMARY_COLOR_NV == GL_PRIMARY_COLOR_NV && sgl::SECONDARY_COLOR_NV == GL_SECONDARY_COLOR_NV &&
              sgl::SPARE0_NV == GL_SPARE0_NV && sgl::SPARE1_NV == GL_SPARE1_NV && sgl::DISCARD_NV == GL_DISCARD_NV &&
              sgl::E_TIMES_F_NV == GL_E_TIMES_F_NV &&
              sgl::SPARE0_PLUS_SECONDARY_COLOR_NV == GL_SPARE0_PLUS_SECONDARY_COLOR_NV &&
              sgl::UNSIGNED_INVERT_NV == GL_UNSIGNED_INVERT_NV && sgl::EXPAND_NEGATE_NV == GL_EXPAND_NEGATE_NV &&
              sgl::HALF_BIAS_NORMAL_NV == GL_HALF_BIAS_NORMAL_NV && sgl::HALF_BIAS_NEGATE_NV == GL_HALF_BIAS_NEGATE_NV &&
              sgl::SIGNED_IDENTITY_NV == GL_SIGNED_IDENTITY_NV && sgl::SIGNED_NEGATE_NV == GL_SIGNED_NEGATE_NV &&
              sgl::SCALE_BY_TWO_NV == GL_SCALE_BY_TWO_NV && sgl::SCALE_BY_FOUR_NV == GL_SCALE_BY_FOUR_NV &&
              sgl::SCALE_BY_ONE_HALF_NV == GL_SCALE_BY_ONE_HALF_NV &&
              sgl::BIAS_BY_NEGATIVE_ONE_HALF_NV == GL_BIAS_BY_NEGATIVE_ONE_HALF_NV);

namespace {

shaderparse::ParseErrors gErrors;
std::vector<const char*> gErrorPointers{nullptr};
std::vector<shaderparse::TrackedMatrix> gTracked;
unsigned gGenericAttributes = 0;

// Keeps the last driver error text of a rejected program.
void driverError(shaderparse::ParseErrors& errors, const char* what, GLenum errorString) {
  const GLubyte* text = glGetString(errorString);
  errors.add(0, std::string(what) + ": " + (text != nullptr ? reinterpret_cast<const char*>(text) : "rejected"));
}

}  // namespace

bool nvparseHasExtension(const char* name) {
  const char* all = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  if (all == nullptr || name == nullptr || *name == '\0') return false;
  const size_t n = std::strlen(name);
  for (const char* at = std::strstr(all, name); at != nullptr; at = std::strstr(at + 1, name))
    if ((at == all || at[-1] == ' ') && (at[n] == ' ' || at[n] == '\0')) return true;
  return false;
}

GlNvCallSink::GlNvCallSink(shaderparse::ParseErrors& errors)
    : errors_(errors),
      nvVertexProgram_(nvparseHasExtension("GL_NV_vertex_program") && glLoadProgramNV != nullptr),
      registerCombiners_(nvparseHasExtension("GL_NV_register_combiners") && glCombinerInputNV != nullptr) {}

void GlNvCallSink::loadProgramNV(Enum target, unsigned id, const std::string& text) {
  if (!nvVertexProgram_) {
    errors_.add(0, "GL_NV_vertex_program is missing");
    return;
  }
  while (glGetError() != GL_NO_ERROR) {
  }
  glLoadProgramNV(target, id, static_cast<GLsizei>(text.size()), reinterpret_cast<const GLubyte*>(text.data()));
  if (glGetError() != GL_NO_ERROR) driverError(errors_, "the driver rejected the program", GL_PROGRAM_ERROR_STRING_NV);
}

void GlNvCallSink::programStringARB(Enum target, Enum format, const std::string& text) {
  if (glProgramStringARB == nullptr) {
    errors_.add(0, "GL_ARB_vertex_program is missing");
    return;
  }
  while (glGetError() != GL_NO_ERROR) {
  }
  glProgramStringARB(target, format, static_cast<GLsizei>(text.size()), text.data());
  if (glGetError() != GL_NO_ERROR)
    driverError(errors_, "the driver rejected the translated program", GL_PROGRAM_ERROR_STRING_ARB);
}

void GlNvCallSink::programParameter4fNV(Enum target, unsigned index, float x, float y, float z, float w) {
  if (nvVertexProgram_) glProgramParameter4fNV(target, index, x, y, z, w);
  else programEnvParameter4fARB(GL_VERTEX_PROGRAM_ARB, index, x, y, z, w);
}

void GlNvCallSink::programEnvParameter4fARB(Enum target, unsigned index, float x, float y, float z, float w) {
  if (glProgramEnvParameter4fARB != nullptr) glProgramEnvParameter4fARB(target, index, x, y, z, w);
}

void GlNvCallSink::trackMatrixNV(Enum target, unsigned address, Enum matrix, Enum transform) {
  if (nvVertexProgram_) glTrackMatrixNV(target, address, matrix, transform);
}

void GlNvCallSink::activeTextureARB(Enum texture) {
  if (glActiveTextureARB != nullptr) glActiveTextureARB(texture);
}

void GlNvCallSink::texEnvi(Enum target, Enum pname, int value) { glTexEnvi(target, pname, value); }
void GlNvCallSink::texEnvf(Enum target, Enum pname, float value) { glTexEnvf(target, pname, value); }
void GlNvCallSink::texEnvfv(Enum target, Enum pname, const float* values, int) { glTexEnvfv(target, pname, values); }
void GlNvCallSink::texEnviv(Enum target, Enum pname, const int* values, int) { glTexEnviv(target, pname, values); }
void GlNvCallSink::enable(Enum cap) { glEnable(cap); }
void GlNvCallSink::disable(Enum cap) { glDisable(cap); }

void GlNvCallSink::combinerParameteriNV(Enum pname, int value) {
  if (registerCombiners_) glCombinerParameteriNV(pname, value);
}

void GlNvCallSink::combinerParameterfvNV(Enum pname, const float* rgba) {
  if (registerCombiners_) glCombinerParameterfvNV(pname, rgba);
}

void GlNvCallSink::combinerStageParameterfvNV(Enum stage, Enum pname, const float* rgba) {
  if (registerCombiners_ && glCombinerStageParameterfvNV != nullptr) glCombinerStageParameterfvNV(stage, pname, rgba);
}

void GlNvCallSink::combinerInputNV(Enum stage, Enum portion, Enum variable, Enum input, Enum mapping,
                                   Enum componentUsage) {
  if (registerCombiners_) glCombinerInputNV(stage, portion, variable, input, mapping, componentUsage);
}

void GlNvCallSink::combinerOutputNV(Enum stage, Enum portion, Enum abOutput, Enum cdOutput, Enum sumOutput,
                                    Enum scale, Enum bias, bool abDotProduct, bool cdDotProduct, bool muxSum) {
  if (registerCombiners_)
    glCombinerOutputNV(stage, portion, abOutput, cdOutput, sumOutput, scale, bias, abDotProduct, cdDotProduct,
                       muxSum);
}

void GlNvCallSink::finalCombinerInputNV(Enum variable, Enum input, Enum mapping, Enum componentUsage) {
  if (registerCombiners_) glFinalCombinerInputNV(variable, input, mapping, componentUsage);
}

bool nvparse(const char* text, shaderparse::NvCallSink& sink, const shaderparse::EmitOptions& options) {
  gErrors.clear();
  const bool ok = shaderparse::parseAndEmit(text, options, sink, gErrors) && gErrors.empty();
  gErrorPointers.clear();
  for (const std::string& e : gErrors.list()) gErrorPointers.push_back(e.c_str());
  gErrorPointers.push_back(nullptr);
  return ok;
}

bool nvparse(const char* text) {
  shaderparse::ParseErrors driverErrors;
  GlNvCallSink sink(driverErrors);
  shaderparse::EmitOptions options;
  options.nvVertexProgram = nvparseHasExtension("GL_NV_vertex_program") && glLoadProgramNV != nullptr;
  if (options.nvVertexProgram) {
    GLint bound = 0;
    glGetIntegerv(GL_VERTEX_PROGRAM_BINDING_NV, &bound);
    options.programId = static_cast<unsigned>(bound);
  }
  options.arb.tracked = gTracked;
  options.arb.genericAttributes = gGenericAttributes;
  bool ok = nvparse(text, sink, options);
  // The driver's verdict joins the parser's list.
  for (const std::string& e : driverErrors.list()) {
    gErrors.add(0, e);
    ok = false;
  }
  gErrorPointers.clear();
  for (const std::string& e : gErrors.list()) gErrorPointers.push_back(e.c_str());
  gErrorPointers.push_back(nullptr);
  return ok;
}

const char* const* nvparse_get_errors() { return gErrorPointers.data(); }

void nvparseTrackMatrix(GLuint address, GLenum matrix, GLenum transform) {
  for (size_t i = 0; i < gTracked.size(); ++i)
    if (gTracked[i].address == static_cast<int>(address)) gTracked.erase(gTracked.begin() + static_cast<long>(i--));
  if (matrix != GL_NONE) gTracked.push_back({static_cast<int>(address), matrix, transform});
  shaderparse::ParseErrors ignored;
  GlNvCallSink(ignored).trackMatrixNV(GL_VERTEX_PROGRAM_NV, address, matrix, transform);
}

void nvparseGenericAttributes(unsigned mask) { gGenericAttributes = mask; }
