// FileBytes: a whole file read into bytes, and bytes written as a file.
#pragma once

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testsupport {

using Bytes = std::vector<unsigned char>;

inline Bytes readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace testsupport
