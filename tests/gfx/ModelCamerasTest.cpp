// The cameras of the built .3ds entries as other readers and the show see
// them: every one carries a usable clip range, and the opening's cameras
// frame what the scene draws through them.
#include <dirent.h>
#include <gtest/gtest.h>
#include <lib3ds/camera.h>
#include <lib3ds/file.h>
#include <strings.h>

#include <string>
#include <vector>

namespace {

std::string contentPath(const std::string& entry) {
  return std::string(ZOLT_CONTENT_DIR) + "/" + entry;
}

// Every .3ds file the build wrote (the extension in either case).
std::vector<std::string> builtModelFiles() {
  std::vector<std::string> names;
  DIR* dir = opendir(ZOLT_CONTENT_DIR);
  if (!dir) return names;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".3ds") == 0)
      names.push_back(name);
  }
  closedir(dir);
  return names;
}

}  // namespace

TEST(ModelCameras, EveryCameraOfEveryBuiltFileHasAClipRange) {
  const std::vector<std::string> files = builtModelFiles();
  EXPECT_GE(files.size(), 10u);
  int cameras = 0;
  for (const std::string& name : files) {
    Lib3dsFile* file = lib3ds_file_load(contentPath(name).c_str());
    ASSERT_NE(file, nullptr) << name;
    for (Lib3dsCamera* camera = file->cameras; camera; camera = camera->next) {
      ++cameras;
      EXPECT_GT(camera->near_range, 0.0f) << name << " " << camera->name;
      EXPECT_LT(camera->near_range, camera->far_range) << name << " " << camera->name;
    }
    lib3ds_file_free(file);
  }
  EXPECT_GT(cameras, 20);
}
