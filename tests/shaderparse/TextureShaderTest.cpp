// "!!TS1.0" texts: the screen distortion's two programs exactly as the
// distortion hands them over, the dot-product chains, and texts that must
// load nothing.
#include <gtest/gtest.h>

#include "support/ParseTestSupport.h"

using parsetest::run;

namespace {

const std::vector<std::string> kOffsetProgramCalls(const char* offsetOperation) {
  return {
      "glActiveTextureARB(GL_TEXTURE0_ARB)",
      "glTexEnvi(GL_TEXTURE_SHADER_NV, GL_SHADER_OPERATION_NV, GL_TEXTURE_2D)",
      "glActiveTextureARB(GL_TEXTURE1_ARB)",
      std::string("glTexEnvi(GL_TEXTURE_SHADER_NV, GL_SHADER_OPERATION_NV, ") + offsetOperation + ")",
      "glTexEnvi(GL_TEXTURE_SHADER_NV, GL_PREVIOUS_TEXTURE_INPUT_NV, GL_TEXTURE0_ARB)",
      "glTexEnvfv(GL_TEXTURE_SHADER_NV, GL_OFFSET_TEXTURE_MATRIX_NV, {1, 0, 0, 1})",
      "glActiveTextureARB(GL_TEXTURE2_ARB)",
      "glTexEnvi(GL_TEXTURE_SHADER_NV, GL_SHADER_OPERATION_NV, GL_NONE)",
      "glActiveTextureARB(GL_TEXTURE3_ARB)",
      "glTexEnvi(GL_TEXTURE_SHADER_NV, GL_SHADER_OPERATION_NV, GL_NONE)",
      "glActiveTextureARB(GL_TEXTURE0_ARB)",
  };
}

}  // namespace

TEST(TextureShaderText, DistortionProgramForTwoDimensionalTextures) {
  const char* text =
      "!!TS1.0\t\t\t\t\t\t\t\t\ntexture_2d();\t\t\t\t\t\t\t\noffset_2d(tex0,1,0,0,1);\t\t\t\t\n"
      "nop();\t\t\t\t\t\t\t\t\t\nnop();\t\t\t\t\t\t\t\t\t\n";
  auto r = run(text);
  ASSERT_TRUE(r.ok) << (r.errors.empty() ? "" : r.errors[0]);
  EXPECT_EQ(r.calls, kOffsetProgramCalls("GL_OFFSET_TEXTURE_2D_NV"));
}

TEST(TextureShaderText, DistortionProgramForRectangleTextures) {
  const char* text =
      "!!TS1.0\t\t\t\t\t\t\t\t\ntexture_2d();\t\t\t\t\t\t\t\noffset_rectangle(tex0,1,0,0,1);\t\t\n"
      "nop();                                 \nnop();                                 \n";
  auto r = run(text);
  ASSERT_TRUE(r.ok) << (r.errors.empty() ? "" : r.errors[0]);
  EXPECT_EQ(r.calls, kOffsetProgramCalls("GL_OFFSET_TEXTURE_RECTANGLE_NV"));
}

TEST(TextureShaderText, DotProductChainWithSignedInputAndScaledOffset) {
  auto r = run(
      "!!TS1.0\n"
      "texture_2d();\n"
      "dot_product_2d_1of2(expand(tex0));\n"
      "dot_product_2d_2of2(tex0);\n"
      "offset_2d_scale(tex2, 0.5, 0, 0, -0.5, 2, .25);\n");
  ASSERT_TRUE(r.ok);
  const std::vector<std::string> expected = {
      "glActiveTextureARB(GL_TEXTURE0_ARB)",
      "glTexEnvi(GL_TEXTURE_SHADER_NV, GL_SHADER_OPERATION_NV, GL_TEXTURE_2D)",
      "glActiveTextureARB(GL_TEXTURE1_ARB)",
      "glTexEnvi(GL_TEXTURE_SHADER_NV, GL_SHADER_OPERATION_NV, GL_DOT_PRODUCT_NV)",
      "glTexEnvi(GL_TEXTURE_SHADER_NV, GL_RGBA_UNSIGNED_DOT_PRODUCT_MAPPING_NV, GL_EXPAND_NORMAL_NV)",
      "glTexEnvi(GL_TEXTURE_SHADER_NV, GL_PREVIOUS_TEXTURE_INPUT_NV, GL_TEXTURE0_ARB)",
      "glActiveTextureARB(GL_TEXTURE2_ARB)",
      "glTexEnvi(GL_TEXTURE_SHADER_NV, GL_SHADER_OPERATION_NV, GL_DOT_PRODUCT_TEXTURE_2D_NV)",
      "glTexEnvi(GL_TEXTURE_SHADER_NV, GL_RGBA_UNSIGNED_DOT_PRODUCT_MAPPING_NV, GL_UNSIGNED_IDENTITY_NV)",
      "glTexEnvi(GL_TEXTURE_SHADER_NV, GL_PREVIOUS_TEXTURE_INPUT_NV, GL_TEXTURE0_ARB)",
      "glActiveTextureARB(GL_TEXTURE3_ARB)",
      "glTexEnvi(GL_TEXTURE_SHADER_NV, GL_SHADER_OPERATION_NV, GL_OFFSET_TEXTURE_SCALE_NV)",
      "glTexEnvi(GL_TEXTURE_SHADER_NV, GL_PREVIOUS_TEXTURE_INPUT_NV, GL_TEXTURE2_ARB)",
      "glTexEnvfv(GL_TEXTURE_SHADER_NV, GL_OFFSET_TEXTURE_MATRIX_NV, {0.5, 0, 0, -0.5})",
      "glTexEnvf(GL_TEXTURE_SHADER_NV, GL_OFFSET_TEXTURE_SCALE_NV, 2)",
      "glTexEnvf(GL_TEXTURE_SHADER_NV, GL_OFFSET_TEXTURE_BIAS_NV, 0.25)",
      "glActiveTextureARB(GL_TEXTURE0_ARB)",
  };
  EXPECT_EQ(r.calls, expected);
}

TEST(TextureShaderText, CullFragmentTakesFourModes) {
  auto r = run("!!TS1.0 cull_fragment(LESS_THAN_ZERO, GEQUAL_TO_ZERO, GEQUAL_TO_ZERO, LESS_THAN_ZERO);");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.calls[2], "glTexEnviv(GL_TEXTURE_SHADER_NV, GL_CULL_MODES_NV, {GL_LESS, GL_GEQUAL, GL_GEQUAL, GL_LESS})");
}

TEST(TextureShaderText, MalformedTextsLoadNothingAndNameTheLine) {
  const parsetest::Refusal cases[] = {
      {"!!TS1.0\ntexture_2d();\ndot_product_2d_2of2(tex0);\n", "line 3: dot_product_2d_2of2 must follow part 1"},
      {"!!TS1.0\ntexture_2d();\ndot_product_3d_1of3(tex0);\n", "dot-product chain left unfinished"},
      {"!!TS1.0\noffset_2d(tex0,1,0,0,1);\n", "line 2: stage 0 cannot read tex0"},
      {"!!TS1.0\ntexture_2d();\noffset_2d(tex1,1,0,0,1);\n", "line 3: stage 1 cannot read tex1"},
      {"!!TS1.0\ntexture_2d();\noffset_2d(tex0,1,0,0);\n", "line 3: expected ','"},
      {"!!TS1.0\nnop();nop();nop();nop();\nnop();\n", "line 3: more than 4 texture shader stages"},
      {"!!TS1.0\ntexture_3d();\n", "line 2: unknown texture shader operation 'texture_3d'"},
      {"!!TS1.0\ntexture_2d()\nnop();\n", "line 3: expected ';'"},
      {"!!TS1.0\ncull_fragment(LESS_THAN_ZERO);\n", "line 2: expected ','"},
  };
  parsetest::expectRefused(cases);
}
