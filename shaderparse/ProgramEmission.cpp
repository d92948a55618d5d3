// ProgramEmission: parsed programs as calls into an NvCallSink.
#include "shaderparse/ShaderParse.h"
#include "shaderparse/VpText.h"

namespace shaderparse {
namespace {

void emitConstants(const VertexProgram& program, bool nv, NvCallSink& sink) {
  for (const VpConstant& c : program.constants) {
    const unsigned index = static_cast<unsigned>(c.index);
    if (nv) sink.programParameter4fNV(gl::VERTEX_PROGRAM_NV, index, c.value[0], c.value[1], c.value[2], c.value[3]);
    else sink.programEnvParameter4fARB(gl::VERTEX_PROGRAM_ARB, index, c.value[0], c.value[1], c.value[2], c.value[3]);
  }
}

bool emitVertex(const VertexProgram& program, const EmitOptions& options, NvCallSink& sink, ParseErrors& errors) {
  if (program.kind != VpKind::ConstantProgram) {
    const Enum target = program.kind == VpKind::StateProgram ? gl::VERTEX_STATE_PROGRAM_NV : gl::VERTEX_PROGRAM_NV;
    if (options.nvVertexProgram) {
      sink.loadProgramNV(target, options.programId, writeVpText(program));
    } else {
      std::string text;
      if (!translateToArb(program, options.arb, text, errors)) return false;
      sink.programStringARB(gl::VERTEX_PROGRAM_ARB, gl::PROGRAM_FORMAT_ASCII_ARB, text);
    }
  }
  emitConstants(program, options.nvVertexProgram, sink);
  return true;
}

void emitTextureShader(const TextureShaderProgram& program, NvCallSink& sink) {
  for (int unit = 0; unit < kTsStages; ++unit) {
    const TsStage& s = program.stage[unit];
    sink.activeTextureARB(gl::TEXTURE0_ARB + static_cast<Enum>(unit));
    sink.texEnvi(gl::TEXTURE_SHADER_NV, gl::SHADER_OPERATION_NV, static_cast<int>(s.operation));
    if (s.hasCullModes) {
      const int modes[4] = {static_cast<int>(s.cullModes[0]), static_cast<int>(s.cullModes[1]),
                            static_cast<int>(s.cullModes[2]), static_cast<int>(s.cullModes[3])};
      sink.texEnviv(gl::TEXTURE_SHADER_NV, gl::CULL_MODES_NV, modes, 4);
    }
    if (s.hasDotMapping)
      sink.texEnvi(gl::TEXTURE_SHADER_NV, gl::RGBA_UNSIGNED_DOT_PRODUCT_MAPPING_NV, static_cast<int>(s.dotMapping));
    if (s.previous >= 0)
      sink.texEnvi(gl::TEXTURE_SHADER_NV, gl::PREVIOUS_TEXTURE_INPUT_NV,
                   static_cast<int>(gl::TEXTURE0_ARB) + s.previous);
    if (s.hasMatrix) sink.texEnvfv(gl::TEXTURE_SHADER_NV, gl::OFFSET_TEXTURE_MATRIX_NV, s.matrix, 4);
    if (s.hasScaleBias) {
      sink.texEnvf(gl::TEXTURE_SHADER_NV, gl::OFFSET_TEXTURE_SCALE_NV, s.scale);
      sink.texEnvf(gl::TEXTURE_SHADER_NV, gl::OFFSET_TEXTURE_BIAS_NV, s.bias);
    }
    if (s.hasConstEye) sink.texEnvfv(gl::TEXTURE_SHADER_NV, gl::CONST_EYE_NV, s.constEye, 3);
  }
  // Leave unit 0 active, as callers expect after a texture shader set-up.
  sink.activeTextureARB(gl::TEXTURE0_ARB);
}

void emitInput(NvCallSink& sink, Enum stage, Enum portion, Enum variable, const RcInput& in) {
  sink.combinerInputNV(stage, portion, variable, in.input, in.mapping, in.usage);
}

void emitPortion(NvCallSink& sink, Enum stage, Enum portion, const RcPortion& p) {
  emitInput(sink, stage, portion, gl::VARIABLE_A_NV, p.a);
  emitInput(sink, stage, portion, gl::VARIABLE_B_NV, p.b);
  emitInput(sink, stage, portion, gl::VARIABLE_C_NV, p.c);
  emitInput(sink, stage, portion, gl::VARIABLE_D_NV, p.d);
  sink.combinerOutputNV(stage, portion, p.abOutput, p.cdOutput, p.sumOutput, p.scale, p.bias, p.abDot, p.cdDot,
                        p.muxSum);
}

void emitCombiners(const RegisterCombinerProgram& program, NvCallSink& sink) {
  std::vector<RcStage> stages = program.stages;
  // GL needs at least one general combiner; an empty one passes nothing on.
  if (stages.empty()) {
    stages.emplace_back();
    RcPortion& alpha = stages.back().alpha;
    alpha.a.usage = alpha.b.usage = alpha.c.usage = alpha.d.usage = gl::ALPHA;
  }
  const Enum constantNames[2] = {gl::CONSTANT_COLOR0_NV, gl::CONSTANT_COLOR1_NV};
  bool perStage = false;
  for (const RcStage& s : stages) perStage = perStage || s.constant[0].set || s.constant[1].set;
  for (int i = 0; i < 2; ++i)
    if (program.constant[i].set) sink.combinerParameterfvNV(constantNames[i], program.constant[i].value);
  // With per-stage constants on, every stage reads its own pair; stages
  // without their own get the global ones so they read what they would
  // have read without per-stage constants.
  if (perStage) sink.enable(gl::PER_STAGE_CONSTANTS_NV);
  else sink.disable(gl::PER_STAGE_CONSTANTS_NV);
  sink.combinerParameteriNV(gl::NUM_GENERAL_COMBINERS_NV, static_cast<int>(stages.size()));
  for (size_t i = 0; i < stages.size(); ++i) {
    const Enum stage = gl::COMBINER0_NV + static_cast<Enum>(i);
    if (perStage)
      for (int c = 0; c < 2; ++c) {
        const RcConstant& own = stages[i].constant[c];
        const RcConstant& value = own.set ? own : program.constant[c];
        sink.combinerStageParameterfvNV(stage, constantNames[c], value.value);
      }
    emitPortion(sink, stage, gl::RGB, stages[i].rgb);
    emitPortion(sink, stage, gl::ALPHA, stages[i].alpha);
  }
  const RcFinal& f = program.final;
  sink.finalCombinerInputNV(gl::VARIABLE_A_NV, f.a.input, f.a.mapping, f.a.usage);
  sink.finalCombinerInputNV(gl::VARIABLE_B_NV, f.b.input, f.b.mapping, f.b.usage);
  sink.finalCombinerInputNV(gl::VARIABLE_C_NV, f.c.input, f.c.mapping, f.c.usage);
  sink.finalCombinerInputNV(gl::VARIABLE_D_NV, f.d.input, f.d.mapping, f.d.usage);
  sink.finalCombinerInputNV(gl::VARIABLE_E_NV, f.e.input, f.e.mapping, f.e.usage);
  sink.finalCombinerInputNV(gl::VARIABLE_F_NV, f.f.input, f.f.mapping, f.f.usage);
  sink.finalCombinerInputNV(gl::VARIABLE_G_NV, f.g.input, f.g.mapping, gl::ALPHA);
  sink.combinerParameteriNV(gl::COLOR_SUM_CLAMP_NV, f.clampColorSum ? 1 : 0);
}

}  // namespace

bool emitProgram(const ParsedProgram& program, const EmitOptions& options, NvCallSink& sink, ParseErrors& errors) {
  switch (program.kind) {
    case ProgramKind::VertexProgram:
    case ProgramKind::VertexStateProgram:
    case ProgramKind::VertexConstantProgram:
    case ProgramKind::VertexShader: return emitVertex(program.vertex, options, sink, errors);
    case ProgramKind::TextureShader: emitTextureShader(program.textureShader, sink); return true;
    case ProgramKind::RegisterCombiners: emitCombiners(program.combiners, sink); return true;
    case ProgramKind::None: break;
  }
  errors.add(0, "nothing to emit");
  return false;
}

}  // namespace shaderparse
