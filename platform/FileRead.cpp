// FileRead: whole-file reading with stdio.
#include "platform/FileRead.h"

#include <cstdio>

namespace platform {

bool readWholeFile(const char* path, std::vector<unsigned char>& bytes) {
  bytes.clear();
  if (!path) return false;
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  const long length = ok ? std::ftell(file) : -1;
  ok = ok && length >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
  if (ok) {
    bytes.resize(static_cast<size_t>(length));
    ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
  }
  std::fclose(file);
  if (!ok) bytes.clear();
  return ok;
}

}  // namespace platform
