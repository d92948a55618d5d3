// DataFolders: the search list, built from the platform's executable folder.
#include "show/DataFolders.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/ExecutableFolder.h"

namespace fs = std::filesystem;

namespace {

bool present(const fs::path& path) {
  std::error_code error;
  return fs::exists(path, error);
}

}  // namespace

std::vector<std::string> dataFolders() {
  std::vector<std::string> folders;
  std::error_code error;
  const fs::path current = fs::current_path(error);
  if (!error) folders.push_back(current.string());
  const std::string program = platform::executableFolder();
  if (!program.empty()) {
    folders.push_back(program);
    folders.push_back((fs::path(program).parent_path() / "share" / "zolt").lexically_normal().string());
  }
  std::vector<std::string> unique;
  for (const std::string& folder : folders)
    if (std::find(unique.begin(), unique.end(), folder) == unique.end()) unique.push_back(folder);
  return unique;
}

std::string findDataFile(const std::string& name) {
  if (name.empty()) return "";
  // Absolute, or in the current folder: the name as given, so messages
  // name it as the user wrote it.
  if (fs::path(name).is_absolute() || present(name)) return present(name) ? name : "";
  for (const std::string& folder : dataFolders()) {
    const fs::path candidate = fs::path(folder) / name;
    if (present(candidate)) return candidate.string();
  }
  return "";
}

std::string dataFoldersText() {
  std::string text;
  for (const std::string& folder : dataFolders()) text += (text.empty() ? "" : ", ") + folder;
  return text;
}
