// FileRead: whole-file reading with stdio, after a look at what the path is.
#include "platform/FileRead.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform {

std::string regularFileProblem(const char* path, size_t limit, size_t* size) {
  if (size) *size = 0;
  if (!path) return "has no name";
  struct stat info;
  if (stat(path, &info) != 0) return std::strerror(errno);
  if (S_ISDIR(info.st_mode)) return "is a folder";
  if (!S_ISREG(info.st_mode)) return "is not a regular file";
  if (info.st_size < 0 || static_cast<unsigned long long>(info.st_size) > limit)
    return "is larger than " + std::to_string(limit >> 20) + " MB";
  if (size) *size = static_cast<size_t>(info.st_size);
  return std::string();
}

bool pathExists(const char* path) {
  struct stat info;
  return path && stat(path, &info) == 0;
}

bool readWholeFile(const char* path, std::vector<unsigned char>& bytes, size_t limit,
                   std::string* why) {
  bytes.clear();
  size_t length = 0;
  std::string problem = regularFileProblem(path, limit, &length);
  // NOTE: the size comes from the file's own record, not a seek to the end
  // (which says 2^63 - 1 for a folder). The buffer is made before the file
  // is opened, so running out of memory leaves nothing open.
  if (problem.empty()) bytes.resize(length);
  std::FILE* file = problem.empty() ? std::fopen(path, "rb") : nullptr;
  if (problem.empty() && !file) problem = std::strerror(errno);
  if (file) {
    if (std::fread(bytes.data(), 1, length, file) != length) problem = "cannot be read whole";
    std::fclose(file);
  }
  if (!problem.empty()) bytes.clear();
  if (why) *why = problem;
  return problem.empty();
}

}  // namespace platform
