// nvparse's error list: bounded at 32 strings, null-terminated, replaced
// by every call, and a text that fails loads nothing.
#include <gtest/gtest.h>

#include <string>

#include "gfx/NvParse.h"
#include "shaderparse/RecordingSink.h"

namespace {

int countErrors() {
  int n = 0;
  for (const char* const* e = nvparse_get_errors(); *e != nullptr; ++e) ++n;
  return n;
}

}  // namespace

TEST(NvParseErrors, ListHoldsAtMost32AndIsReplacedByTheNextCall) {
  std::string text = "!!VP1.0\n";
  for (int i = 0; i < 100; ++i) text += "BAD R0, v[0];\n";
  text += "MOV o[HPOS], v[0];\nEND\n";
  shaderparse::RecordingSink sink;
  EXPECT_FALSE(nvparse(text.c_str(), sink, {}));
  EXPECT_TRUE(sink.calls.empty());
  EXPECT_EQ(countErrors(), 32);
  EXPECT_STREQ(nvparse_get_errors()[0], "line 2: unknown instruction 'BAD'");
  EXPECT_STREQ(nvparse_get_errors()[31], "line 33: unknown instruction 'BAD'");

  EXPECT_TRUE(nvparse("!!VP1.0 MOV o[HPOS], v[0]; END", sink, {}));
  EXPECT_EQ(countErrors(), 0);
  EXPECT_EQ(sink.calls.size(), 1u);
}

TEST(NvParseErrors, NullEmptyAndForeignTextsAreErrorsNotCrashes) {
  shaderparse::RecordingSink sink;
  const char* texts[] = {nullptr, "", "!!ARBvp1.0\nEND\n", "!!TS1.0 texture_2d(", "vs.1.0\nmov r0, c[a0.x +",
                         "!!RC1.0 { rgb { spare0 = expand(", "!!VP1.0\n\x01\x02\xff END"};
  for (const char* text : texts) {
    EXPECT_FALSE(nvparse(text, sink, {})) << (text ? text : "null");
    EXPECT_GE(countErrors(), 1);
  }
  EXPECT_TRUE(sink.calls.empty());
}
