// The help text and the switch table: every switch the parser knows is in
// the help and in the README's table, and no letter acts without being in
// the table.
#include "app/HelpText.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "app/CaptureCodec.h"
#include "app/LaunchSettings.h"
#include "app/Switches.h"
#include "gfx/Random.h"
#include "support/MessageLog.h"

namespace {

std::string readme() {
  std::ifstream in(std::string(ZOLT_SOURCE_DIR) + "/README.md");
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool sameSettings(const LaunchSettings& a, const LaunchSettings& b) {
  return a.fullScreen == b.fullScreen && a.quality == b.quality && a.width == b.width &&
         a.height == b.height && a.startScene == b.startScene && a.timeOffset == b.timeOffset &&
         a.captureFps == b.captureFps && a.captureAtStart == b.captureAtStart &&
         a.reportGlErrors == b.reportGlErrors && a.desktopFullScreen == b.desktopFullScreen &&
         a.captureFile == b.captureFile;
}

TEST(HelpText, ListsEverySwitchOfTheTableAndEveryKey) {
  const std::string help = helpText();
  ASSERT_GE(knownSwitches().size(), 12u);
  for (const SwitchHelp& row : knownSwitches()) {
    const std::string line = std::string("  /") + row.letter + row.argument + " ";
    EXPECT_NE(help.find(line), std::string::npos) << "switch /" << row.letter << " missing:\n" << help;
    EXPECT_NE(help.find(row.effect), std::string::npos) << row.letter;
  }
  for (const char* key : {"Escape, F2, q", "numeric-pad minus, m", "space", "left, right arrow"})
    EXPECT_NE(help.find(key), std::string::npos) << key;
  EXPECT_EQ(help.back(), '\n');
}

TEST(HelpText, ReadmeTablesHoldEverySwitchAndTheWatchKeys) {
  const std::string text = readme();
  ASSERT_FALSE(text.empty());
  for (const SwitchHelp& row : knownSwitches()) {
    const std::string cell = std::string("| `/") + row.letter;
    EXPECT_NE(text.find(cell), std::string::npos) << "README lacks /" << row.letter;
  }
  EXPECT_NE(text.find("| space |"), std::string::npos);
  EXPECT_NE(text.find("| left, right arrow |"), std::string::npos);
  EXPECT_NE(text.find("different but valid picture"), std::string::npos);
}

TEST(HelpText, NoLetterChangesTheSettingsWithoutBeingInTheTable) {
  std::string known;
  for (const SwitchHelp& row : knownSwitches()) known += row.letter;
  testsupport::MessageLog log;  // an odd codec name would show a box
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    for (const char* argument : {"", "1", "x.mkv"}) {
      launchSettings = LaunchSettings();
      parseCaptureCodecSwitch(defaultCaptureCodec());
      parseSwitches((std::string("/") + letter + argument).c_str());
      const bool acted = !sameSettings(launchSettings, LaunchSettings()) ||
                         captureCodec() != defaultCaptureCodec();
      if (acted) {
        EXPECT_NE(known.find(letter), std::string::npos) << "/" << letter << argument;
      }
    }
  }
  launchSettings = LaunchSettings();
  parseCaptureCodecSwitch(defaultCaptureCodec());
  zolt::seedRandom(1);  // /r reseeded the generator from the clock
}

TEST(HelpText, AskedForByTheUsualSpellingsOnly) {
  auto asks = [](std::vector<std::string> words) {
    words.insert(words.begin(), "zolt");
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    return helpRequested(static_cast<int>(argv.size()), argv.data());
  };
  EXPECT_TRUE(asks({"--help"}));
  EXPECT_TRUE(asks({"-h"}));
  EXPECT_TRUE(asks({"/?"}));
  EXPECT_TRUE(asks({"/w", "/?"}));
  EXPECT_TRUE(asks({"/w/?"}));
  EXPECT_FALSE(asks({}));
  EXPECT_FALSE(asks({"/w", "/m", "/s3"}));
  EXPECT_FALSE(asks({"-help-me", "/h", "--helpful"}));
}

}  // namespace
