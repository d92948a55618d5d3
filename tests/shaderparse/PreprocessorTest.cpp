// The macro pass: definitions with and without arguments, conditionals,
// comments, line numbers kept, and texts that would make it run away.
#include <gtest/gtest.h>

#include <string>

#include "support/ParseTestSupport.h"
#include "shaderparse/Preprocessor.h"

using shaderparse::ParseErrors;
using shaderparse::preprocess;

TEST(Preprocessor, ExpandsObjectAndFunctionMacros) {
  ParseErrors errors;
  EXPECT_EQ(preprocess("#define ONE 1\n#define ROW(r, m) DP4 o[HPOS].r, c[m], v[0];\nROW(x, ONE) ROW( y , 2 )\n",
                       1, errors),
            "\n\nDP4 o[HPOS].x, c[1], v[0]; DP4 o[HPOS].y, c[2], v[0];");
  EXPECT_TRUE(errors.empty());
  // A function macro without arguments stays a name; #undef removes it.
  EXPECT_EQ(preprocess("#define F(a) a\nF F(z)\n#undef F\nF(z)", 1, errors), "\nF z\n\nF(z)");
  EXPECT_TRUE(errors.empty());
}

TEST(Preprocessor, ConditionalsNestAndElseFlips) {
  ParseErrors errors;
  const char* text =
      "#define NV\n"
      "#ifdef NV\n"
      "a\n"
      "#ifndef NV\n"
      "b\n"
      "#else\n"
      "c\n"
      "#endif\n"
      "#else\n"
      "d\n"
      "#endif\n"
      "e";
  EXPECT_EQ(preprocess(text, 1, errors), "\n\na\n\n\n\nc\n\n\n\n\ne");
  EXPECT_TRUE(errors.empty());
}

TEST(Preprocessor, CommentsGoButLinesStay) {
  auto r = parsetest::run("!!VP1.0 /* one\ntwo */ // three\n# define is a comment here\nMOV R0 v[0];\nEND\n");
  ASSERT_FALSE(r.errors.empty());
  EXPECT_NE(r.errors[0].find("line 4:"), std::string::npos) << r.errors[0];
}

TEST(Preprocessor, MisplacedDirectivesAreErrors) {
  const char* texts[] = {"#else\n", "#endif\n", "#ifdef A\nx\n", "#ifdef\n#endif", "#define F(a b) a\n",
                         "#define F(a) a\nF(1, 2)\n", "#define F(a) a\nF(1\n"};
  for (const char* text : texts) {
    ParseErrors errors;
    preprocess(text, 1, errors);
    EXPECT_FALSE(errors.empty()) << text;
  }
}

TEST(Preprocessor, SelfReferenceAndDoublingAreBounded) {
  ParseErrors errors;
  EXPECT_EQ(preprocess("#define A A B\n#define B A\nA", 1, errors), "\n\nA A");
  EXPECT_TRUE(errors.empty());
  // Each level doubles the text: 2^40 characters unless the pass stops.
  std::string bomb = "#define X0 ab\n";
  for (int i = 1; i <= 40; ++i)
    bomb += "#define X" + std::to_string(i) + " X" + std::to_string(i - 1) + " X" + std::to_string(i - 1) + "\n";
  bomb += "X40\n";
  const std::string out = preprocess(bomb, 1, errors);
  EXPECT_FALSE(errors.empty());
  EXPECT_LE(out.size(), size_t(1) << 20);
}
