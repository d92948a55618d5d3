// TextureLoading: the registry's image loaders. In archive mode the entry
// is read whole and decoded from memory (never touching the disk); in
// loose-file mode the file under the root path is read.
#include <cstdio>
#include <string>

#include "gfx/ImageLoading.h"
#include "gfx/JpegSource.h"
#include "show/ResourceRegistry.h"

namespace {

// The loose-file path, at most 99 characters as the show composes it.
bool loosePath(const ResourceRegistry& registry, const char* name, char (&path)[100]) {
  std::string full = (registry.dataPrefix ? std::string("data/") : registry.rootPath) + name;
  if (full.size() >= sizeof(path)) return false;
  std::snprintf(path, sizeof(path), "%s", full.c_str());
  return true;
}

// Runs `step` on a source for `name`; the entry buffer and the source are
// released before returning. -1 when the bytes cannot be had.
template <typename Step>
int withJpegSource(ResourceRegistry& registry, const char* name, Step step) {
  if (registry.usePack) {
    unsigned char* entry = registry.readFile(name);
    if (!entry) return -1;
    JpegSource* source = new JpegMemorySource(entry, registry.entrySize(name));
    int result = step(source);
    delete source;
    delete[] entry;
    return result;
  }
  char path[100];
  if (!loosePath(registry, name, path)) return -1;
  FILE* file = std::fopen(path, "rb");
  if (!file) return -1;
  JpegSource* source = new JpegFileSource(file);
  int result = step(source);
  delete source;
  return result;
}

}  // namespace

int ResourceRegistry::loadJpegTexture(const char* name, int compress) {
  compressNextJpeg = static_cast<uint8_t>(compress);
  return withJpegSource(*this, name, [compress](JpegSource* source) { return uploadJpeg(source, compress); });
}

int ResourceRegistry::getJpegSize(const char* name, int32_t* width, int32_t* height) {
  return withJpegSource(*this, name,
                        [width, height](JpegSource* source) { return readJpegSize(source, width, height); });
}

int ResourceRegistry::decodeJpeg(const char* name, unsigned char* rgb) {
  return withJpegSource(*this, name, [rgb](JpegSource* source) { return decodeJpegInto(source, rgb); });
}

int ResourceRegistry::loadPngTexture(const char* name, int transforms) {
  if (usePack) {
    unsigned char* entry = readFile(name);
    if (!entry) return -1;
    int result = uploadPngMemory(entry, static_cast<size_t>(entrySize(name)), transforms);
    delete[] entry;
    return result;
  }
  char path[100];
  if (!loosePath(*this, name, path)) return -1;
  FILE* file = std::fopen(path, "rb");
  if (!file) return -1;
  int result = uploadPngFile(file, transforms);
  std::fclose(file);
  return result;
}
