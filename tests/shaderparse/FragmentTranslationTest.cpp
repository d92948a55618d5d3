// "!!TS1.0" to "!!ARBfp1.0": the offset stage's matrix order, the targets,
// which stages colour the fragment, and what is refused.
#include <gtest/gtest.h>

#include <string>

#include "shaderparse/FragmentTranslation.h"

namespace {

struct Translated {
  bool ok;
  std::string text;
  std::string errors;
};

Translated translate(const char* source) {
  shaderparse::ParseErrors errors;
  Translated t;
  t.ok = shaderparse::translateTextureShaderText(source, t.text, errors);
  for (const std::string& e : errors.list()) t.errors += e + "\n";
  return t;
}

}  // namespace

TEST(FragmentTranslation, OffsetStagesDisplaceTheirUnitsLookup) {
  const Translated rect = translate("!!TS1.0\ntexture_2d();\noffset_rectangle(tex0, 1, 0, 0, 1);\nnop();\nnop();\n");
  ASSERT_TRUE(rect.ok) << rect.errors;
  // s' = s + a1 ds + a3 dt, t' = t + a2 ds + a4 dt with local[1] = (a1, a2, a3, a4);
  // the offset texel colours nothing.
  EXPECT_EQ(rect.text,
            "!!ARBfp1.0\n"
            "PARAM offset1 = program.local[1];\n"
            "TEMP colour, coord, tex0, tex1;\n"
            "TXP tex0, fragment.texcoord[0], texture[0], 2D;\n"
            "MAD coord, tex0.xxxx, offset1.xyxy, fragment.texcoord[1];\n"
            "MAD coord, tex0.yyyy, offset1.zwzw, coord;\n"
            "TEX tex1, coord, texture[1], RECT;\n"
            "MUL colour, fragment.color, tex1;\n"
            "MOV result.color, colour;\n"
            "END\n");

  const Translated flat = translate("!!TS1.0\ntexture_rectangle();\nnop();\noffset_2d(tex0, 2, 0, 0, 2);\ntexture_2d();\n");
  ASSERT_TRUE(flat.ok) << flat.errors;
  EXPECT_NE(flat.text.find("PARAM offset2 = program.local[2];\n"), std::string::npos);
  EXPECT_NE(flat.text.find("TXP tex0, fragment.texcoord[0], texture[0], RECT;\n"), std::string::npos);
  EXPECT_NE(flat.text.find("TEX tex2, coord, texture[2], 2D;\n"), std::string::npos);
  // An unconsumed stage modulates as the texture environment would.
  EXPECT_NE(flat.text.find("MUL colour, fragment.color, tex2;\nTXP tex3, fragment.texcoord[3], texture[3], 2D;\n"
                           "MUL colour, colour, tex3;\n"),
            std::string::npos);
  EXPECT_EQ(flat.text.find("tex1"), std::string::npos);

  const Translated none = translate("!!TS1.0\nnop();\n");
  ASSERT_TRUE(none.ok);
  EXPECT_NE(none.text.find("MOV result.color, fragment.color;\n"), std::string::npos);
}

TEST(FragmentTranslation, RefusesWhatItCannotExpress) {
  const char* refused[][2] = {
      {"!!TS1.0\ntexture_2d();\ndependent_ar(tex0);\n", "stage 1: dependent_ar() has no ARB fragment program form"},
      {"!!TS1.0\ntexture_2d();\noffset_2d_scale(tex0, 1, 0, 0, 1, 1, 0);\n", "stage 1: offset_2d_scale() has no"},
      {"!!TS1.0\ntexture_2d();\ndot_product_2d_1of2(tex0);\ndot_product_2d_2of2(tex0);\n", "stage 1: a dot product"},
      {"!!TS1.0\ntexture_cube_map();\n", "stage 0: texture_cube_map() has no"},
      {"!!TS1.0\nnop();\noffset_2d(tex0, 1, 0, 0, 1);\n", "stage 1: offset_2d() must read an earlier texture_2d()"},
      {"!!VP1.0\nMOV o[HPOS], v[OPOS];\nEND\n", "not a texture shader program"},
      {"!!TS1.0\nbogus();\n", "unknown texture shader operation"},
  };
  for (const auto& c : refused) {
    const Translated t = translate(c[0]);
    EXPECT_FALSE(t.ok) << c[0];
    EXPECT_TRUE(t.text.empty()) << c[0];
    EXPECT_NE(t.errors.find(c[1]), std::string::npos) << c[0] << " gave " << t.errors;
  }
}
