// The source folders stack: each includes only folders below it, a scene's
// folder never reaches into another scene's, and only the platform layer
// sees the window, dialog and video libraries. Read from the include lines
// of every source file, so a move that breaks the order fails here.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Floors, bottom first; shaderparse sits between platform and gfx, and the
// resources (icon, dialog) may be included from anywhere.
const std::map<std::string, int> kFloors = {
    {"res", -1}, {"platform", 0}, {"shaderparse", 1}, {"gfx", 2}, {"swf", 3},
    {"show", 4},     {"scenes", 5},      {"app", 6},
};

struct Include {
  std::string file;  // relative to the source root
  int line;
  std::string target;
  bool quoted;
};

std::vector<Include> includesUnder(const fs::path& root, const std::string& folder) {
  std::vector<Include> found;
  const fs::path dir = root / folder;
  if (!fs::exists(dir)) return found;
  static const std::regex kInclude(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
    std::ifstream in(entry.path());
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
      std::smatch match;
      if (std::regex_search(text, match, kInclude)) {
        found.push_back({fs::relative(entry.path(), root).string(), line, match[2], match[1] == "\""});
      }
    }
  }
  return found;
}

std::string topFolder(const std::string& path) { return path.substr(0, path.find('/')); }

// "scenes/opening/X.h" -> "opening"; a file directly in scenes/ -> "".
std::string sceneFolder(const std::string& path) {
  const size_t first = path.find('/');
  const size_t second = path.find('/', first + 1);
  return second == std::string::npos ? "" : path.substr(first + 1, second - first - 1);
}

std::string where(const Include& include) {
  return include.file + ":" + std::to_string(include.line) + " includes " + include.target;
}

}  // namespace

TEST(IncludeStack, EveryFolderIncludesOnlyFoldersBelowIt) {
  const fs::path root = ZOLT_SOURCE_DIR;
  int checked = 0;
  for (const auto& [folder, floor] : kFloors) {
    for (const Include& include : includesUnder(root, folder)) {
      if (!include.quoted) continue;
      const std::string targetFolder = topFolder(include.target);
      const auto target = kFloors.find(targetFolder);
      ASSERT_NE(target, kFloors.end()) << where(include) << ": not a source folder";
      ++checked;
      EXPECT_LE(target->second, floor) << where(include) << ": points up the stack";
    }
  }
  EXPECT_GT(checked, 100) << "the include lines were not found";
}

TEST(IncludeStack, ScenesKeepToTheirOwnFolderAndTheSharedEffects) {
  const fs::path root = ZOLT_SOURCE_DIR;
  for (const Include& include : includesUnder(root, "scenes")) {
    if (!include.quoted || topFolder(include.target) != "scenes") continue;
    const std::string from = sceneFolder(include.file);
    const std::string to = sceneFolder(include.target);
    // Shared effects and the show-order table sit beside the scene folders;
    // only the show-order table may name scenes.
    if (from == "effects" || from.empty()) {
      const bool showOrder = from.empty() && include.file.rfind("scenes/ShowOrder", 0) == 0;
      EXPECT_TRUE(to == "effects" || to.empty() || showOrder) << where(include);
    } else {
      EXPECT_TRUE(to == from || to == "effects" || to.empty()) << where(include);
    }
  }
}

TEST(IncludeStack, OnlyThePlatformLayerSeesWindowDialogAndVideoLibraries) {
  const fs::path root = ZOLT_SOURCE_DIR;
  static const std::regex kPlatformHeader(R"(^(SDL2?/|SDL\.h|gtk/|gdk/|glib|libav|libsw|alsa/))");
  for (const auto& [folder, floor] : kFloors) {
    if (folder == "platform") continue;
    for (const Include& include : includesUnder(root, folder)) {
      EXPECT_FALSE(std::regex_search(include.target, kPlatformHeader)) << where(include);
    }
  }
}
