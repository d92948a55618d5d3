// "!!RC1.0" texts: the calls a general and a final combiner produce, the
// per-stage constants, and the combinations the extension refuses.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/ParseTestSupport.h"

using parsetest::run;

namespace {

bool has(const std::vector<std::string>& calls, const std::string& call) {
  return std::find(calls.begin(), calls.end(), call) != calls.end();
}

}  // namespace

TEST(RegisterCombinerText, StageAndFinalCombinerCalls) {
  auto r = run(
      "!!RC1.0\n"
      "const0 = (0.5, 0.5, 0.5, 1);\n"
      "{\n"
      "  rgb {\n"
      "    spare0 = expand(tex0) . expand(col0);\n"
      "    spare1 = -half_bias(tex1.a) * const0;\n"
      "    scale_by_two();\n"
      "  }\n"
      "  alpha { discard = tex0.b * one; spare1 = unsigned_invert(col1) * zero; tex2 = mux(); }\n"
      "}\n"
      "final_product = spare0 * col1;\n"
      "out.rgb = lerp(tex0, spare0, col0) + final_product;\n"
      "out.a = unsigned_invert(spare1);\n"
      "clamp_color_sum();\n");
  ASSERT_TRUE(r.ok) << r.errors[0];
  const std::vector<std::string> expected = {
      "glCombinerParameterfvNV(GL_CONSTANT_COLOR0_NV, {0.5, 0.5, 0.5, 1})",
      "glDisable(GL_PER_STAGE_CONSTANTS_NV)",
      "glCombinerParameteriNV(GL_NUM_GENERAL_COMBINERS_NV, 1)",
      "glCombinerInputNV(GL_COMBINER0_NV, GL_RGB, GL_VARIABLE_A_NV, GL_TEXTURE0_ARB, GL_EXPAND_NORMAL_NV, GL_RGB)",
      "glCombinerInputNV(GL_COMBINER0_NV, GL_RGB, GL_VARIABLE_B_NV, GL_PRIMARY_COLOR_NV, GL_EXPAND_NORMAL_NV, GL_RGB)",
      "glCombinerInputNV(GL_COMBINER0_NV, GL_RGB, GL_VARIABLE_C_NV, GL_TEXTURE1_ARB, GL_HALF_BIAS_NEGATE_NV, GL_ALPHA)",
      "glCombinerInputNV(GL_COMBINER0_NV, GL_RGB, GL_VARIABLE_D_NV, GL_CONSTANT_COLOR0_NV, GL_SIGNED_IDENTITY_NV, GL_RGB)",
      "glCombinerOutputNV(GL_COMBINER0_NV, GL_RGB, GL_SPARE0_NV, GL_SPARE1_NV, GL_DISCARD_NV, GL_SCALE_BY_TWO_NV, "
      "GL_NONE, GL_TRUE, GL_FALSE, GL_FALSE)",
      "glCombinerInputNV(GL_COMBINER0_NV, GL_ALPHA, GL_VARIABLE_A_NV, GL_TEXTURE0_ARB, GL_SIGNED_IDENTITY_NV, GL_BLUE)",
      "glCombinerInputNV(GL_COMBINER0_NV, GL_ALPHA, GL_VARIABLE_B_NV, GL_NONE, GL_UNSIGNED_INVERT_NV, GL_ALPHA)",
      "glCombinerInputNV(GL_COMBINER0_NV, GL_ALPHA, GL_VARIABLE_C_NV, GL_SECONDARY_COLOR_NV, GL_UNSIGNED_INVERT_NV, "
      "GL_ALPHA)",
      "glCombinerInputNV(GL_COMBINER0_NV, GL_ALPHA, GL_VARIABLE_D_NV, GL_NONE, GL_SIGNED_IDENTITY_NV, GL_ALPHA)",
      "glCombinerOutputNV(GL_COMBINER0_NV, GL_ALPHA, GL_DISCARD_NV, GL_SPARE1_NV, GL_TEXTURE2_ARB, GL_NONE, GL_NONE, "
      "GL_FALSE, GL_FALSE, GL_TRUE)",
      "glFinalCombinerInputNV(GL_VARIABLE_A_NV, GL_TEXTURE0_ARB, GL_UNSIGNED_IDENTITY_NV, GL_RGB)",
      "glFinalCombinerInputNV(GL_VARIABLE_B_NV, GL_SPARE0_NV, GL_UNSIGNED_IDENTITY_NV, GL_RGB)",
      "glFinalCombinerInputNV(GL_VARIABLE_C_NV, GL_PRIMARY_COLOR_NV, GL_UNSIGNED_IDENTITY_NV, GL_RGB)",
      "glFinalCombinerInputNV(GL_VARIABLE_D_NV, GL_E_TIMES_F_NV, GL_UNSIGNED_IDENTITY_NV, GL_RGB)",
      "glFinalCombinerInputNV(GL_VARIABLE_E_NV, GL_SPARE0_NV, GL_UNSIGNED_IDENTITY_NV, GL_RGB)",
      "glFinalCombinerInputNV(GL_VARIABLE_F_NV, GL_SECONDARY_COLOR_NV, GL_UNSIGNED_IDENTITY_NV, GL_RGB)",
      "glFinalCombinerInputNV(GL_VARIABLE_G_NV, GL_SPARE1_NV, GL_UNSIGNED_INVERT_NV, GL_ALPHA)",
      "glCombinerParameteriNV(GL_COLOR_SUM_CLAMP_NV, 1)",
  };
  EXPECT_EQ(r.calls, expected);
}

TEST(RegisterCombinerText, PerStageConstantsFallBackToTheGlobalPair) {
  auto r = run(
      "!!RC1.0\nconst1 = (0, 0, 1, 1);\n"
      "{ const0 = (1, 0, 0, 1); rgb { spare0 = const0 * const1; } }\n"
      "{ rgb { spare0 = spare0 * const0; } }\n");
  ASSERT_TRUE(r.ok) << r.errors[0];
  EXPECT_TRUE(has(r.calls, "glEnable(GL_PER_STAGE_CONSTANTS_NV)"));
  EXPECT_TRUE(has(r.calls, "glCombinerStageParameterfvNV(GL_COMBINER0_NV, GL_CONSTANT_COLOR0_NV, {1, 0, 0, 1})"));
  EXPECT_TRUE(has(r.calls, "glCombinerStageParameterfvNV(GL_COMBINER0_NV, GL_CONSTANT_COLOR1_NV, {0, 0, 1, 1})"));
  EXPECT_TRUE(has(r.calls, "glCombinerStageParameterfvNV(GL_COMBINER1_NV, GL_CONSTANT_COLOR0_NV, {0, 0, 0, 0})"));
  EXPECT_TRUE(has(r.calls, "glCombinerParameteriNV(GL_NUM_GENERAL_COMBINERS_NV, 2)"));
  // Without out.rgb / out.a the final combiner shows spare0.
  EXPECT_TRUE(has(r.calls, "glFinalCombinerInputNV(GL_VARIABLE_D_NV, GL_SPARE0_NV, GL_UNSIGNED_IDENTITY_NV, GL_RGB)"));
  EXPECT_TRUE(has(r.calls, "glFinalCombinerInputNV(GL_VARIABLE_G_NV, GL_SPARE0_NV, GL_UNSIGNED_IDENTITY_NV, GL_ALPHA)"));
}

TEST(RegisterCombinerText, RefusedCombinationsLoadNothing) {
  const parsetest::Refusal cases[] = {
      {"!!RC1.0\n{ alpha { spare0 = tex0 . tex1; } }", "line 2: dot products belong to rgb portions"},
      {"!!RC1.0\n{ rgb { spare0 = tex0 . tex1;\nspare1 = tex2 * tex3;\ntex0 = sum(); } }",
       "line 4: sum and mux cannot follow a dot product"},
      {"!!RC1.0\n{ rgb { spare0 = tex0 * tex1; spare0 = tex2 * tex3; } }", "line 2: two results written to one register"},
      {"!!RC1.0\n{ rgb { a = b; } }", "cannot write to 'a'"},
      {"!!RC1.0\n{ rgb { spare0 = fog * const0; spare1 = tex0; tex1 = tex2; } }", "a portion has two products"},
      {"!!RC1.0\n{ rgb { spare0 = tex0.b; } }", "cannot read 'b' here"},
      {"!!RC1.0\n{ rgb { spare0 = final_product; } }", "cannot read 'final_product' here"},
      {"!!RC1.0\nout.rgb = expand(tex0);", "line 2: the final combiner takes only unsigned"},
      {"!!RC1.0\nfinal_product = color_sum * tex0;", "'color_sum' cannot feed this input"},
      {"!!RC1.0\nconst0 = (1.5, 0, 0, 1);", "line 2: constant colours lie in 0..1"},
      {"!!RC1.0\n{ rgb { spare0 = tex0; scale_by_two(); scale_by_four(); } }", "one scale and bias statement"},
      {"!!RC1.0\n{}{}{}{}{}{}{}{}\n{}", "line 3: more than 8 general combiner stages"},
      {"!!RC1.0\nout.rgb = spare0", "expected ';'"},
      {"!!RC1.0\n{ alpha { spare0 = fog.a * tex0; } }", "line 2: fog alpha is read only in the final combiner"},
      {"!!RC1.0\n{ alpha { spare0 = fog * tex0; } }", "fog alpha is read only in the final combiner"},
      {"!!RC1.0\n{ rgb { spare0 = unsigned(fog.a); } }", "fog alpha is read only in the final combiner"},
      {"!!RC1.0\nout.rgb = tex0;\n/* spare0 only\nout.a = tex1;", "line 3: comment not closed"},
      {"!!TS1.0\ntexture_2d();\n/* nop(); */ nop(); /*\n", "line 3: comment not closed"},
  };
  parsetest::expectRefused(cases);
  // Fog's alpha is the final combiner's to read; the closed comment goes.
  auto fogFinal = run("!!RC1.0 /* fog */\nout.a = fog.a;\n{ alpha { spare0 = fog.b; } }");
  EXPECT_TRUE(fogFinal.ok) << (fogFinal.errors.empty() ? "" : fogFinal.errors[0]);
}
