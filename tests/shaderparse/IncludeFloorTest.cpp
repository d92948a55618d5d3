// The parser sits below gfx/: its sources include only the standard
// library and each other, never a GL header or a folder above.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

TEST(ShaderParseFloor, IncludesOnlyItselfAndTheStandardLibrary) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(ZOLT_SOURCE_DIR "/shaderparse")) {
    std::ifstream in(entry.path());
    std::string line;
    ++files;
    while (std::getline(in, line)) {
      if (line.rfind("#include", 0) != 0) continue;
      const bool own = line.find("\"shaderparse/") != std::string::npos;
      const bool standard = line.find('<') != std::string::npos && line.find("GL") == std::string::npos &&
                            line.find("SDL") == std::string::npos;
      EXPECT_TRUE(own || standard) << entry.path().filename() << ": " << line;
    }
  }
  EXPECT_GT(files, 10);
}
