// Where the show finds its archive and soundtrack: the current folder
// first, then the program's folder, then ../share/zolt beside it.
#include "show/DataFolders.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

TEST(DataFolders, CurrentFolderThenProgramFolderThenShareBesideIt) {
  const fs::path saved = fs::current_path();
  const fs::path folder = fs::temp_directory_path() / ("zolt-data-" + std::to_string(getpid()));
  fs::create_directories(folder);
  fs::current_path(folder);
  // The test program sits beside the built zolt and its data.
  const std::string program = fs::canonical(ZOLT_OUTPUT_DIR).string();
  const std::vector<std::string> expected = {fs::canonical(folder).string(), program,
                                             (fs::path(program).parent_path() / "share/zolt").string()};
  EXPECT_EQ(dataFolders(), expected);
  EXPECT_EQ(findDataFile("trov.qz5"), program + "/trov.qz5");
  EXPECT_EQ(findDataFile("no-such-file.qz5"), "");
  EXPECT_EQ(findDataFile("/no/such/zolt.mp3"), "");
  // A folder's own data wins, named as given; so does a broken one.
  std::ofstream("trov.qz5") << "x";
  fs::create_directory("zolt.mp3");
  EXPECT_EQ(findDataFile("trov.qz5"), "trov.qz5");
  EXPECT_EQ(findDataFile("zolt.mp3"), "zolt.mp3");
  fs::current_path(saved);
  fs::remove_all(folder);
}
