// Key/value texts: the lookup rules the settings files rely on, and the
// messages a broken file gives.
#include <gtest/gtest.h>

#include <string>

#include "show/KeyValue.h"

namespace {

// Runs `lookup` and returns what it printed.
template <typename Lookup>
std::string printedBy(Lookup lookup) {
  testing::internal::CaptureStdout();
  lookup();
  return testing::internal::GetCapturedStdout();
}

std::string stringValue(const char* text, const char* key) {
  char* value = getString(text, key);
  if (!value) return "<null>";
  std::string copy = value;
  delete[] value;
  return copy;
}

}  // namespace

TEST(KeyValue, CommentsAreSkippedAndQuotesStripped) {
  const char* text = "#mp3 = \"commented.mp3\"\nmp3 = \"zolt.mp3\"\n";
  EXPECT_EQ(stringValue(text, "mp3"), "zolt.mp3");
  EXPECT_EQ(findValue(text, "mp3"), 29);
  // A comment mark anywhere but at the line start does not make a comment.
  EXPECT_EQ(getInt(" #x = 1\nx = 2\n", " #x"), 1);
}

TEST(KeyValue, FirstLineStartingWithTheKeyWins) {
  const char* text = "speedy = 9\nspeed = 5\n";
  EXPECT_EQ(getInt(text, "speed"), 9);
  EXPECT_EQ(getInt(text, "speedy"), 9);
  // The key must start the line.
  EXPECT_EQ(getInt("top speed = 3\nspeed = 4\n", "speed"), 4);
}

TEST(KeyValue, EqualsMayStandOnALaterLine) {
  const char* text = "alpha\n\n  = 0.25\nbeta = 2\n";
  EXPECT_FLOAT_EQ(getFloat(text, "alpha"), 0.25f);
  // Without its own "=", a key takes the next one in the text.
  EXPECT_EQ(getInt("numBugs\nspeed = 7\n", "numBugs"), 7);
}

TEST(KeyValue, WhiteSpaceAfterEqualsIsSkippedButNotIntoANewLine) {
  EXPECT_EQ(getInt("n =\t  \t42\n", "n"), 42);
  EXPECT_EQ(getInt("n=-3", "n"), -3);
  // A value on the line after its "=" is not taken.
  std::string out;
  out = printedBy([] { EXPECT_EQ(findValue("mp3 =\n\"zolt.mp3\"\n", "mp3"), -1); });
  EXPECT_EQ(out, "Error: key not found in \"mp3\"\n");
  // Blanks between the newline and the value hide the line start.
  EXPECT_EQ(getInt("n =\n  8\n", "n"), 8);
}

TEST(KeyValue, ProblemsGiveMinusOneOrNullAfterOneMessage) {
  std::string out;
  out = printedBy([] { EXPECT_EQ(findValue("mp3 =", "mp3"), -1); });
  EXPECT_EQ(out, "Error: key not found in \"mp3\"\n");
  out = printedBy([] { EXPECT_EQ(findValue("mp3 = \n\t ", "mp3"), -1); });
  EXPECT_EQ(out, "Error: key not found in \"mp3\"\n");
  out = printedBy([] { EXPECT_EQ(findValue("mp3 \"zolt.mp3\"\n", "mp3"), -1); });
  EXPECT_EQ(out, "Error: key not found in \"mp3\"\n");

  const char* text = "# nothing here\nother = 1\n";
  out = printedBy([&] { EXPECT_EQ(getInt(text, "speed"), -1); });
  EXPECT_EQ(out, "Error: \"speed\" not found\n");
  out = printedBy([&] { EXPECT_EQ(getFloat(text, "alpha"), -1.0f); });
  EXPECT_EQ(out, "Error: \"alpha\" not found\n");
  out = printedBy([&] { EXPECT_EQ(getString(text, "mp3"), nullptr); });
  EXPECT_EQ(out, "Error: \"mp3\" not found\n");
  out = printedBy([] { EXPECT_EQ(getInt("", "speed"), -1); });
  EXPECT_EQ(out, "Error: \"speed\" not found\n");

  out = printedBy([] { EXPECT_EQ(findValue(nullptr, "mp3"), -1); });
  EXPECT_EQ(out, "Invalid text file\n");
  out = printedBy([] { EXPECT_EQ(findValue("mp3 = 1", nullptr), -1); });
  EXPECT_EQ(out, "Invalid ID\n");
}

TEST(KeyValue, EscapedQuotesStayInTheString) {
  EXPECT_EQ(stringValue("s = \"a \\\"b\\\" c\" tail\n", "s"), "a \\\"b\\\" c");
  EXPECT_EQ(stringValue("s = \"\"\n", "s"), "");
  // A backslash not before a quote is an ordinary character.
  EXPECT_EQ(stringValue("s = \"dir\\file\"", "s"), "dir\\file");
}

TEST(KeyValue, UnclosedStringRunsToTheEndOfItsLine) {
  // The next line is never taken into a name; the missing quote is told.
  const std::string out = printedBy([] { EXPECT_EQ(stringValue("s = \"open\nrest\"", "s"), "open"); });
  EXPECT_EQ(out, "Error: no closing quote for \"s\"\n");
  EXPECT_EQ(stringValue("s = \"open\r\nrest", "s"), "open");
  // An escape at the very end does not step past the terminator.
  EXPECT_EQ(stringValue("s = \"open\\", "s"), "open\\");
  // The value's first character is taken as the opening quote.
  EXPECT_EQ(stringValue("s = x", "s"), "");
}

TEST(KeyValue, NumbersReadAsAtoiAndAtof) {
  const char* text = "numBugs = 300 bugs\nalpha = .5e1x\ncount = junk\n";
  EXPECT_EQ(getInt(text, "numBugs"), 300);
  EXPECT_FLOAT_EQ(getFloat(text, "alpha"), 5.0f);
  EXPECT_EQ(getInt(text, "count"), 0);
  EXPECT_EQ(KeyValueFile::getInt(text, "numBugs"), 300);
}

TEST(KeyValue, EveryCutOfATextStaysInsideIt) {
  // Each prefix of a settings text, as a truncated entry would give it:
  // a value is either inside the text or not found, never beyond it.
  const std::string full = "# c\nmp3 =\n \"a\\\"b\"\nspeed= 5\nalpha\n=0.5";
  for (size_t cut = 0; cut <= full.size(); ++cut) {
    const std::string text = full.substr(0, cut);
    testing::internal::CaptureStdout();
    for (const char* key : {"mp3", "speed", "alpha", ""}) {
      const int at = findValue(text.c_str(), key);
      EXPECT_LT(at, static_cast<int>(text.size())) << cut;
      char* value = getString(text.c_str(), key);
      if (value) {
        EXPECT_LE(std::string(value).size(), text.size());
      }
      delete[] value;
    }
    testing::internal::GetCapturedStdout();
  }
}
