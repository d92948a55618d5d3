// GlEnums: the OpenGL enum values parsed programs turn into, as plain
// numbers so this folder needs no GL header. gfx/NvParse.cpp checks every
// one against the system's glext.h at compile time.
#pragma once

#include <cstdint>

namespace shaderparse {

using Enum = std::uint32_t;

namespace gl {
// Vertex programs.
constexpr Enum VERTEX_PROGRAM_NV = 0x8620;
constexpr Enum VERTEX_STATE_PROGRAM_NV = 0x8621;
constexpr Enum VERTEX_PROGRAM_ARB = 0x8620;
constexpr Enum PROGRAM_FORMAT_ASCII_ARB = 0x8875;
constexpr Enum MODELVIEW_PROJECTION_NV = 0x8629;
constexpr Enum MODELVIEW = 0x1700;
constexpr Enum PROJECTION = 0x1701;
constexpr Enum TEXTURE = 0x1702;
constexpr Enum IDENTITY_NV = 0x862A;
constexpr Enum INVERSE_NV = 0x862B;
constexpr Enum TRANSPOSE_NV = 0x862C;
constexpr Enum INVERSE_TRANSPOSE_NV = 0x862D;

// Texture shaders.
constexpr Enum TEXTURE0_ARB = 0x84C0;
constexpr Enum TEXTURE_SHADER_NV = 0x86DE;
constexpr Enum SHADER_OPERATION_NV = 0x86DF;
constexpr Enum CULL_MODES_NV = 0x86E0;
constexpr Enum OFFSET_TEXTURE_MATRIX_NV = 0x86E1;
constexpr Enum OFFSET_TEXTURE_SCALE_NV = 0x86E2;
constexpr Enum OFFSET_TEXTURE_BIAS_NV = 0x86E3;
constexpr Enum PREVIOUS_TEXTURE_INPUT_NV = 0x86E4;
constexpr Enum CONST_EYE_NV = 0x86E5;
constexpr Enum RGBA_UNSIGNED_DOT_PRODUCT_MAPPING_NV = 0x86D9;
constexpr Enum UNSIGNED_IDENTITY_NV = 0x8536;
constexpr Enum EXPAND_NORMAL_NV = 0x8538;
constexpr Enum NONE = 0;
constexpr Enum TEXTURE_1D = 0x0DE0;
constexpr Enum TEXTURE_2D = 0x0DE1;
constexpr Enum TEXTURE_RECTANGLE_NV = 0x84F5;
constexpr Enum TEXTURE_CUBE_MAP_ARB = 0x8513;
constexpr Enum PASS_THROUGH_NV = 0x86E6;
constexpr Enum CULL_FRAGMENT_NV = 0x86E7;
constexpr Enum OFFSET_TEXTURE_2D_NV = 0x86E8;
constexpr Enum OFFSET_TEXTURE_2D_SCALE_NV = 0x86E2;
constexpr Enum OFFSET_TEXTURE_RECTANGLE_NV = 0x864C;
constexpr Enum OFFSET_TEXTURE_RECTANGLE_SCALE_NV = 0x864D;
constexpr Enum DEPENDENT_AR_TEXTURE_2D_NV = 0x86E9;
constexpr Enum DEPENDENT_GB_TEXTURE_2D_NV = 0x86EA;
constexpr Enum DOT_PRODUCT_NV = 0x86EC;
constexpr Enum DOT_PRODUCT_DEPTH_REPLACE_NV = 0x86ED;
constexpr Enum DOT_PRODUCT_TEXTURE_2D_NV = 0x86EE;
constexpr Enum DOT_PRODUCT_TEXTURE_RECTANGLE_NV = 0x864E;
constexpr Enum DOT_PRODUCT_TEXTURE_3D_NV = 0x86EF;
constexpr Enum DOT_PRODUCT_TEXTURE_CUBE_MAP_NV = 0x86F0;
constexpr Enum DOT_PRODUCT_DIFFUSE_CUBE_MAP_NV = 0x86F1;
constexpr Enum DOT_PRODUCT_REFLECT_CUBE_MAP_NV = 0x86F2;
constexpr Enum DOT_PRODUCT_CONST_EYE_REFLECT_CUBE_MAP_NV = 0x86F3;
constexpr Enum LESS = 0x0201;
constexpr Enum GEQUAL = 0x0206;

// Register combiners.
constexpr Enum COMBINER0_NV = 0x8550;
constexpr Enum NUM_GENERAL_COMBINERS_NV = 0x854E;
constexpr Enum COLOR_SUM_CLAMP_NV = 0x854F;
constexpr Enum PER_STAGE_CONSTANTS_NV = 0x8535;
constexpr Enum REGISTER_COMBINERS_NV = 0x8522;
constexpr Enum CONSTANT_COLOR0_NV = 0x852A;
constexpr Enum CONSTANT_COLOR1_NV = 0x852B;
constexpr Enum VARIABLE_A_NV = 0x8523;
constexpr Enum VARIABLE_B_NV = 0x8524;
constexpr Enum VARIABLE_C_NV = 0x8525;
constexpr Enum VARIABLE_D_NV = 0x8526;
constexpr Enum VARIABLE_E_NV = 0x8527;
constexpr Enum VARIABLE_F_NV = 0x8528;
constexpr Enum VARIABLE_G_NV = 0x8529;
constexpr Enum RGB = 0x1907;
constexpr Enum ALPHA = 0x1906;
constexpr Enum BLUE = 0x1905;
constexpr Enum ZERO = 0;
constexpr Enum FOG = 0x0B60;
constexpr Enum PRIMARY_COLOR_NV = 0x852C;
constexpr Enum SECONDARY_COLOR_NV = 0x852D;
constexpr Enum SPARE0_NV = 0x852E;
constexpr Enum SPARE1_NV = 0x852F;
constexpr Enum DISCARD_NV = 0x8530;
constexpr Enum E_TIMES_F_NV = 0x8531;
constexpr Enum SPARE0_PLUS_SECONDARY_COLOR_NV = 0x8532;
constexpr Enum UNSIGNED_INVERT_NV = 0x8537;
constexpr Enum EXPAND_NEGATE_NV = 0x8539;
constexpr Enum HALF_BIAS_NORMAL_NV = 0x853A;
constexpr Enum HALF_BIAS_NEGATE_NV = 0x853B;
constexpr Enum SIGNED_IDENTITY_NV = 0x853C;
constexpr Enum SIGNED_NEGATE_NV = 0x853D;
constexpr Enum SCALE_BY_TWO_NV = 0x853E;
constexpr Enum SCALE_BY_FOUR_NV = 0x853F;
constexpr Enum SCALE_BY_ONE_HALF_NV = 0x8540;
constexpr Enum BIAS_BY_NEGATIVE_ONE_HALF_NV = 0x8541;
constexpr Enum FALSE = 0;
constexpr Enum TRUE = 1;
}  // namespace gl

// The enum's GL name ("GL_TEXTURE_2D"), or its number in hex when the
// table has none; used by the recording sink. Where two names share a
// value, the first in the table wins: callers read names in context.
const char* glEnumName(Enum value, char (&fallback)[16]);

}  // namespace shaderparse
