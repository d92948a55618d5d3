// ExecutableFolder: the kernel's link to the running executable.
#include "platform/ExecutableFolder.h"

#include <filesystem>
#include <system_error>

namespace platform {

std::string executableFolder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || !program.is_absolute()) return "";
  return program.parent_path().string();
}

}  // namespace platform
