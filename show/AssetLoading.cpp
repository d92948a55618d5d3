// AssetLoading: the registry's image, model and movie loaders. Each reads
// the asset's bytes once (archive entry or loose file) and hands them to
// the decoder that turns them into GL textures, a model or a player.
#include <cstdio>
#include <vector>

#include "gfx/ImageLoading.h"
#include "gfx/JpegSource.h"
#include "gfx/Scene3ds.h"
#include "show/ResourceRegistry.h"
#include "swf/swfScript.h"

namespace {

// Loose images keep the old loader's limit: a path that would not fit its
// 100-character buffer is refused rather than cut short.
const size_t kLooseImagePathLimit = 99;

bool readImage(ResourceRegistry& registry, const char* name, std::vector<unsigned char>& bytes) {
  if (!name) return false;
  if (!registry.usePack && registry.loosePath(name).size() > kLooseImagePathLimit) return false;
  return registry.readAsset(name, bytes);
}

// Runs `step` on a memory source over the image's bytes; -1 when the bytes
// cannot be had.
template <typename Step>
int withJpegSource(ResourceRegistry& registry, const char* name, Step step) {
  std::vector<unsigned char> bytes;
  if (!readImage(registry, name, bytes)) return -1;
  JpegMemorySource source(bytes.data(), static_cast<int>(bytes.size()));
  return step(&source);
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
  std::vector<unsigned char> bytes;
  if (!readImage(*this, name, bytes)) return -1;
  return uploadPngMemory(bytes.data(), bytes.size(), transforms, name);
}

Lib3dsFile* ResourceRegistry::load3ds(const char* name) {
  if (!name) return nullptr;
  std::vector<unsigned char> bytes;
  if (!readAsset(name, bytes)) {
    // A missing archive entry has had its message box already.
    if (!usePack) std::printf("File not found: %s\n", loosePath(name).c_str());
    return nullptr;
  }
  return read3dsFromMemory(bytes.data(), static_cast<int32_t>(bytes.size()), name);
}

swfScript* ResourceRegistry::loadSwf(const char* name) {
  std::vector<unsigned char> bytes;
  if (!name || !readAsset(name, bytes)) {
    if (name && !usePack) std::printf("File not found: %s\n", loosePath(name).c_str());
    return new swfScript(nullptr, true, 0, name);  // says so and plays nothing
  }
  return new swfScript(bytes.data(), true, bytes.size(), name);
}
