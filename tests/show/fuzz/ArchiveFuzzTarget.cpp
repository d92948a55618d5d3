// libFuzzer target for the archive reader: the bytes are written as the
// archive file and every entry of the built-in directory is read from it,
// then a few entries of a directory the bytes describe themselves (offsets
// and sizes anywhere, negative and huge included).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "show/PackFile.h"

namespace {

volatile unsigned sink;

int32_t wordAt(const uint8_t* data, size_t size, size_t at) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v |= uint32_t(at + i < size ? data[at + i] : 0) << (8 * i);
  return static_cast<int32_t>(v);
}

unsigned readAll(const PackDirectoryTable& directory, const char* path) {
  unsigned sum = 0;
  for (int row = 0; row < directory.count; ++row) {
    unsigned char* entry = readPackEntry(directory, path, directory.names[row]);
    if (!entry) continue;
    const int32_t size = directory.unpackedSizes[row];
    if (entry[size] != 0 || entry[size + 1] != 0) __builtin_trap();
    sum += size > 0 ? entry[size - 1] : 0;
    delete[] entry;
  }
  return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/zolt-archive-fuzz-" + std::to_string(getpid()) + ".qz5";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  unsigned sum = readAll(PackDirectory, path.c_str());

  // Three rows from the first 36 bytes; sizes are capped so a huge claim
  // costs a refusal, not the fuzzer's memory limit.
  static const char* const names[] = {"a", "B", "c"};
  int32_t offsets[3], packed[3], unpacked[3];
  for (int i = 0; i < 3; ++i) {
    offsets[i] = wordAt(data, size, size_t(i) * 12);
    packed[i] = wordAt(data, size, size_t(i) * 12 + 4);
    unpacked[i] = wordAt(data, size, size_t(i) * 12 + 8);
    if (packed[i] > 1 << 20) packed[i] = 1 << 20;
    if (unpacked[i] > 1 << 22) unpacked[i] = 1 << 22;
  }
  const PackDirectoryTable own = {3, names, offsets, packed, unpacked};
  sum += readAll(own, path.c_str());
  sink = sum;
  return 0;
}
