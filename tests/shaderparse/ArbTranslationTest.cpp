// "!!VP1.0" to "!!ARBvp1.0": register bindings, tracked matrices read as
// state.matrix rows, NV's zeroed temporaries, and the attribute choice.
#include <gtest/gtest.h>

#include "support/ParseTestSupport.h"

using parsetest::loadedText;
using parsetest::run;

namespace {

shaderparse::EmitOptions trackedMvp() {
  shaderparse::EmitOptions options = parsetest::arbOptions();
  options.arb.tracked.push_back({0, shaderparse::gl::MODELVIEW_PROJECTION_NV, shaderparse::gl::IDENTITY_NV});
  return options;
}

}  // namespace

TEST(ArbTranslation, TrackedMatrixRowsRelativeAddressingAndZeroedTemporaries) {
  auto r = run(
      "!!VP1.0\n"
      "ARL A0.x, v[TEX0].x;\n"
      "MOV R1, -c[A0.x + 4].yzxw;\n"
      "MAD R3.xyz, R1, R2.x, v[COL1];\n"
      "DP4 o[HPOS].x, c[0], R3;\n"
      "MOV o[COL0], v[COL0];\n"
      "MOV o[BFC1].xy, v[NRML];\n"
      "MOV o[FOGC].x, v[FOGC].x;\n"
      "MOV o[PSIZ].x, v[WGHT].x;\n"
      "MOV o[TEX2], v[7];\n"
      "END\n",
      trackedMvp());
  ASSERT_TRUE(r.ok) << r.errors[0];
  ASSERT_EQ(r.calls.size(), 1u);
  EXPECT_EQ(r.calls[0].rfind("glProgramStringARB(GL_VERTEX_PROGRAM_NV, GL_PROGRAM_FORMAT_ASCII_ARB, ", 0), 0u);
  // R2 is read before any write and R3.w too: both start at zero as on NV.
  EXPECT_EQ(loadedText(r.calls[0]),
            "!!ARBvp1.0\n"
            "ADDRESS A0;\n"
            "TEMP R1, R2, R3;\n"
            "PARAM c[96] = { state.matrix.mvp.row[0..3], program.env[4..95] };\n"
            "MOV R2, {0, 0, 0, 0};\n"
            "MOV R3, {0, 0, 0, 0};\n"
            "ARL A0.x, vertex.texcoord[0].x;\n"
            "MOV R1, -c[A0.x+4].yzxw;\n"
            "MAD R3.xyz, R1, R2.x, vertex.color.secondary;\n"
            "DP4 result.position.x, c[0], R3;\n"
            "MOV result.color, vertex.color;\n"
            "MOV result.color.back.secondary.xy, vertex.normal;\n"
            "MOV result.fogcoord.x, vertex.fogcoord.x;\n"
            "MOV result.pointsize.x, vertex.attrib[1].x;\n"
            "MOV result.texcoord[2], vertex.attrib[7];\n"
            "END\n");
}

TEST(ArbTranslation, ParameterArrayCoversOnlyWhatIsReadAndMixesTracks) {
  shaderparse::EmitOptions options = trackedMvp();
  options.arb.tracked.push_back({8, shaderparse::gl::MODELVIEW, shaderparse::gl::INVERSE_TRANSPOSE_NV});
  auto r = run("!!VP1.0\nMOV R0, c[10];\nMOV o[HPOS], c[5];\nEND\n", options);
  ASSERT_TRUE(r.ok);
  EXPECT_NE(loadedText(r.calls[0]).find(
                "PARAM c[11] = { state.matrix.mvp.row[0..3], program.env[4..7], "
                "state.matrix.modelview.invtrans.row[0..2] };\n"),
            std::string::npos)
      << r.calls[0];
}

TEST(ArbTranslation, GenericAttributesReadVertexAttribOnlyWhereAsked) {
  shaderparse::EmitOptions options = parsetest::arbOptions();
  options.arb.genericAttributes = (1u << 8) | (1u << 0);
  auto r = run("!!VP1.0\nMUL R0, v[8], c[1].x;\nMAD o[COL0], v[COL0], R0, c[0];\nMOV o[HPOS], v[OPOS];\nEND\n", options);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(loadedText(r.calls[0]),
            "!!ARBvp1.0\nTEMP R0;\nPARAM c[2] = { program.env[0..1] };\n"
            "MUL R0, vertex.attrib[8], c[1].x;\nMAD result.color, vertex.color, R0, c[0];\n"
            "MOV result.position, vertex.position;\nEND\n");
}

TEST(ArbTranslation, VsTextReachesArbThroughItsVertexProgramForm) {
  auto r = run("vs.1.1\nm4x4 oPos, v0, c0\nmov oD0, v3\n", trackedMvp());
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(loadedText(r.calls[0]),
            "!!ARBvp1.0\nPARAM c[4] = { state.matrix.mvp.row[0..3] };\n"
            "DP4 result.position.x, vertex.position, c[0];\nDP4 result.position.y, vertex.position, c[1];\n"
            "DP4 result.position.z, vertex.position, c[2];\nDP4 result.position.w, vertex.position, c[3];\n"
            "MOV result.color, vertex.color;\nEND\n");
}

TEST(ArbTranslation, UntranslatableTrackLoadsNothing) {
  shaderparse::EmitOptions options = parsetest::arbOptions();
  options.arb.tracked.push_back({2, shaderparse::gl::MODELVIEW_PROJECTION_NV, shaderparse::gl::IDENTITY_NV});
  auto r = run("!!VP1.0\nMOV o[HPOS], c[2];\nEND\n", options);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.calls.empty());
}
