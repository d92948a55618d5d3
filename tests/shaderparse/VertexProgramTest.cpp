// Vertex program texts ("!!VP1.0", "!!VSP1.0", "!!VCP1.0", "vs.1.0"): what
// reaches glLoadProgramNV, the NV rules a text must keep, and the vs.1.0
// dialect's translation.
#include <gtest/gtest.h>

#include <string>

#include "support/ParseTestSupport.h"

using parsetest::loadedText;
using parsetest::run;

TEST(VertexProgramText, LoadsIntoTheGivenProgramWithRegistersNamedByNumber) {
  shaderparse::EmitOptions options;
  options.programId = 7;
  auto r = run(
      "!!VP1.0\n"
      "# transform and colour\n"
      "DP4 o[HPOS].x, c[0], v[OPOS];\n"
      "ARL A0.x, v[TEX0].x;\n"
      "MAD R1.xyw, -c[A0.x - 4].wzyx, R2.y, v[COL0];\n"
      "RSQ o[TEX7].z, -R1.w;\n"
      "END\n",
      options);
  ASSERT_TRUE(r.ok) << r.errors[0];
  ASSERT_EQ(r.calls.size(), 1u);
  EXPECT_EQ(r.calls[0].rfind("glLoadProgramNV(GL_VERTEX_PROGRAM_NV, 7, ", 0), 0u);
  EXPECT_EQ(loadedText(r.calls[0]),
            "!!VP1.0\n"
            "DP4 o[HPOS].x, c[0], v[0];\n"
            "ARL A0.x, v[8].x;\n"
            "MAD R1.xyw, -c[A0.x - 4].wzyx, R2.y, v[3];\n"
            "RSQ o[TEX7].z, -R1.w;\n"
            "END\n");
}

TEST(VertexProgramText, StateAndConstantPrograms) {
  auto state = run("!!VSP1.0\nMUL c[4], v[0], c[5].x;\nEND\n");
  ASSERT_TRUE(state.ok);
  EXPECT_EQ(state.calls[0],
            "glLoadProgramNV(GL_VERTEX_STATE_PROGRAM_NV, 0, \"!!VSP1.0\nMUL c[4], v[0], c[5].x;\nEND\n\")");
  // No ARB form for a state program: nothing loads.
  auto stateArb = run("!!VSP1.0\nMUL c[4], v[0], c[5].x;\nEND\n", parsetest::arbOptions());
  EXPECT_FALSE(stateArb.ok);
  EXPECT_TRUE(stateArb.calls.empty());

  const char* constants = "!!VCP1.0\nc[8] = (0, 1, 3, 5);\nc[95] = (-1.5, 2e2, .5, 0);\nEND\n";
  EXPECT_EQ(run(constants).calls, (std::vector<std::string>{
                                      "glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 8, 0, 1, 3, 5)",
                                      "glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 95, -1.5, 200, 0.5, 0)",
                                  }));
  EXPECT_EQ(run(constants, parsetest::arbOptions()).calls[0],
            "glProgramEnvParameter4fARB(GL_VERTEX_PROGRAM_NV, 8, 0, 1, 3, 5)");
}

TEST(VertexProgramText, BrokenRulesLoadNothing) {
  const parsetest::Refusal cases[] = {
      {"!!VP1.0\nMOV o[HPOS], v[0];\n", "missing END"},
      {"!!VP1.0\nMOV o[HPOS], v[0];\nEND\nMOV R0, v[0];\n", "line 4: text after END"},
      {"!!VP1.0\nRCP R0, R1;\nEND", "line 2: RCP needs a single source component"},
      {"!!VP1.0\nADD R0, v[0], v[1];\nEND", "line 2: reads two different v[] registers"},
      {"!!VP1.0\nADD R0, c[0], c[1];\nEND", "line 2: reads two different c[] registers"},
      {"!!VP1.0\nMOV R0, c[A0.x];\nEND", "line 2: reads c[A0.x] before ARL"},
      {"!!VP1.0\nMOV R0.yx, v[0];\nEND", "line 2: bad write mask 'yx'"},
      {"!!VP1.0\nMOV R0, v[0].xy;\nEND", "line 2: bad swizzle 'xy'"},
      {"!!VP1.0\nMOV R12, v[0];\nEND", "line 2: cannot write to 'R12'"},
      {"!!VP1.0\nMOV R0, c[96];\nEND", "line 2: expected an index from 0 to 95"},
      {"!!VP1.0\nARL A0.x, v[0].x;\nMOV R0, c[A0.x + 64];\nEND", "line 3: expected an index from 0 to 63"},
      {"!!VP1.0\nMOV o[TEX8], v[0];\nEND", "line 2: unknown output o[TEX8]"},
      {"!!VP1.0\nMOV c[0], v[0];\nEND", "line 2: cannot write to 'c'"},
      {"!!VP1.0\nFOO R0, v[0];\nEND", "line 2: unknown instruction 'FOO'"},
      {"!!VP1.0\nMOV R0 v[0];\nEND", "line 2: expected ','"},
      {"!!VSP1.0\nMOV c[0], v[1];\nEND", "line 2: a state program reads only v[0]"},
      {"!!VCP1.0\nc[0] = (1, 2, 3);\n", "line 2: expected ','"},
      {"!!VP1.00\nEND", "unknown program type"},
      {"!!VP1.0\nMOV R0, v[0];\nMOV o[COL0], R0;\nEND", "line 3: writes no component of o[HPOS]"},
      {"!!VP1.0\nEND", "writes no component of o[HPOS]"},
  };
  parsetest::expectRefused(cases);
}

TEST(VertexProgramText, EachFaultReportedOnceOnItsOwnLine) {
  // Two relative reads before any ARL, on one line and on the next: one report.
  auto r = run("!!VP1.0\nMUL R0, c[A0.x], c[A0.x];\nMOV o[HPOS], c[A0.x + 1];\nEND\n");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_NE(r.errors[0].find("line 2: reads c[A0.x] before ARL"), std::string::npos) << r.errors[0];
  // One written component is enough for the position.
  EXPECT_TRUE(run("!!VP1.0\nMOV o[HPOS].w, v[0];\nEND\n").ok);
  // The unknown header is named by its first word, without the next line.
  r = run("!!VP2.0\nMOV o[HPOS], v[0];\nEND\n");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_NE(r.errors[0].find("unknown program type: !!VP2.0"), std::string::npos) << r.errors[0];
  EXPECT_EQ(r.errors[0].find('\n'), std::string::npos) << r.errors[0];
  EXPECT_EQ(r.errors[0].find("MOV"), std::string::npos) << r.errors[0];
}

TEST(VertexProgramText, AtMost128Instructions) {
  std::string text = "!!VP1.0\n";
  for (int i = 0; i < 128; ++i) text += "MOV o[HPOS], v[0];\n";
  EXPECT_TRUE(run((text + "END\n").c_str()).ok);
  auto r = run((text + "MOV R0, v[0];\nEND\n").c_str());
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.errors[0].find("line 130: more than 128 instructions"), std::string::npos);
}

TEST(VsText, TranslatesToVertexProgramText) {
  auto r = run(
      "vs.1.0\n"
      "; the DX8 dialect\n"
      "def c10, 1, 2, 3.5, 4\n"
      "m4x3 r0.xyz, v0, c4   // three rows\n"
      "dp4 oPos.x, v0, c0\n"
      "mov a0.x, r0.y\n"
      "sub r1, r0, c[a0.x + 2].xy\n"
      "rcp r2.w, r1\n"
      "expp r3, r2.z\n"
      "mov oD0, v3\n"
      "mov oT0.xy, -v8.zw\n");
  ASSERT_TRUE(r.ok) << r.errors[0];
  ASSERT_EQ(r.calls.size(), 2u);
  EXPECT_EQ(loadedText(r.calls[0]),
            "!!VP1.0\n"
            "DP4 R0.x, v[0], c[4];\n"
            "DP4 R0.y, v[0], c[5];\n"
            "DP4 R0.z, v[0], c[6];\n"
            "DP4 o[HPOS].x, v[0], c[0];\n"
            "ARL A0.x, R0.y;\n"
            "ADD R1, R0, -c[A0.x + 2].xyyy;\n"
            "RCP R2.w, R1.w;\n"
            "EXP R3, R2.z;\n"
            "MOV o[COL0], v[3];\n"
            "MOV o[TEX0].xy, -v[8].zwww;\n"
            "END\n");
  EXPECT_EQ(r.calls[1], "glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 10, 1, 2, 3.5, 4)");
}

TEST(VsText, MalformedLinesAreReportedEachWithItsLine) {
  auto r = run(
      "vs.1.0\n"
      "mov r0, v16\n"
      "frc r0, v0\n"
      "rcp r0, v0.xy\n"
      "m4x4 r0, v0, c93\n"
      "mov oPos, v0\n");
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.calls.empty());
  ASSERT_EQ(r.errors.size(), 4u);
  EXPECT_NE(r.errors[0].find("line 2: cannot read from 'v16'"), std::string::npos) << r.errors[0];
  EXPECT_NE(r.errors[1].find("line 3: frc writes only x and y"), std::string::npos) << r.errors[1];
  EXPECT_NE(r.errors[2].find("line 4: a scalar instruction reads one component"), std::string::npos) << r.errors[2];
  EXPECT_NE(r.errors[3].find("line 5: m4x4 matrix runs past the last register"), std::string::npos) << r.errors[3];
}

TEST(VsText, ExpLogAndFrcMacrosWorkInAnUnusedTemporary) {
  auto r = run(
      "vs.1.1\n"
      "exp r0.xw, c1.y\n"
      "log oT0, -r0.x\n"
      "frc r1.xy, r1.wzyx\n"
      "frc oT1.y, v0\n"
      "mov oPos, r11\n");
  ASSERT_TRUE(r.ok) << r.errors[0];
  // R11 is named, so R10 is the scratch; frc's y may overwrite its source.
  EXPECT_EQ(loadedText(r.calls[0]),
            "!!VP1.0\n"
            "EXP R10.z, c[1].y;\n"
            "MOV R0.xw, R10.z;\n"
            "LOG R10.z, -R0.x;\n"
            "MOV o[TEX0], R10.z;\n"
            "EXP R10.y, R1.w;\n"
            "EXP R1.y, R1.z;\n"
            "MOV R1.x, R10.y;\n"
            "EXP o[TEX1].y, v[0].y;\n"
            "MOV o[HPOS], R11;\n"
            "END\n");
  // With every temporary named there is no room for the macro.
  std::string full = "vs.1.1\nmov oPos, v0\n";
  for (int i = 0; i < 12; ++i) full += "mov r" + std::to_string(i) + ", v0\n";
  EXPECT_TRUE(run(full.c_str()).ok);
  r = run((full + "exp r0, v0.x\n").c_str());
  ASSERT_FALSE(r.ok);
  EXPECT_NE(r.errors[0].find("line 15: exp, log and frc need a temporary"), std::string::npos) << r.errors[0];
}
