// ResourceRegistry: shared resources by name, the display settings and the
// archive / loose-file readers. The image, model and movie loaders are
// defined beside the code they feed.
#include "show/ResourceRegistry.h"

#include <strings.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/FileRead.h"
#include "show/PackFile.h"
#include "show/RegistryRows.h"

namespace {

// Settings handed out by address; never stored in the map.
struct SettingRow {
  const char* name;
  int ResourceRegistry::*field;
};
const SettingRow kSettings[] = {
    {"Good", &ResourceRegistry::good},
    {"Width", &ResourceRegistry::width},
    {"Height", &ResourceRegistry::height},
};

// Shared resources made on first request. A row's make function adopts what
// it builds under one or more names. Rows are tried in order; names compare
// exactly, except that a row marked `capturePrefix` takes every name whose
// first seven characters are "Capture" in any case.
struct MakeRow {
  const char* name;
  bool capturePrefix;
  void (*make)(ResourceRegistry& registry, const char* name);
};
const MakeRow kMakeRows[] = {
    {"PBuffer512x512", false, makePixelBuffer},
    {"CopyScreen512x512", false, makeCopyScreen},
    {"CopyScreen640x480", false, makeCopyScreen},
    {"CopyScreen640x480b", false, makeCopyScreen},
    {"Rhythm0", false, makeRhythmAnimations},
    {"SimpleDSDT", false, makeScreenDistortion},
    {"MessDSDT", false, makeScreenDistortion},
    {"CircleMask", false, makeCircleMask},
    {"ShadowLight", false, makeShadowLight},
    {"Capture", true, makeCaptureTexture},
    {"LineCube", false, makeLineCube},
};

bool rowApplies(const MakeRow& row, const char* name) {
  if (!row.name) return false;
  if (row.capturePrefix) return strncasecmp(name, row.name, 7) == 0;
  return std::strcmp(name, row.name) == 0;
}

// Release order at destruction: render targets and animations before the
// effects built over them; then every "Capture" name (any case), then the
// line cube, then whatever else was made, in name order.
const char* const kReleaseFirst[] = {
    "PBuffer512x512", "CopyScreen512x512", "CopyScreen640x480", "CopyScreen640x480b",
    "Rhythm0",        "Rhythm1",           "Rhythm2",           "Rhythm3",
    "white",          "interp",            "verts",             "SimpleDSDT",
    "MessDSDT",       "CircleMask",        "ShadowLight",
};
const char* const kReleaseAfterCaptures[] = {"LineCube"};

bool isCaptureName(const std::string& name) {
  return name.size() >= 7 && strncasecmp(name.c_str(), "Capture", 7) == 0;
}

}  // namespace

void ResourceRegistry::adopt(const std::string& name, void* value, Release release) {
  auto old = resources.find(name);
  if (old != resources.end() && old->second && old->second != value) {
    Release oldRelease = releases_[name];
    if (oldRelease) oldRelease(old->second);
  }
  resources[name] = value;
  releases_[name] = release;
}

void* ResourceRegistry::get(const char* name) {
  if (!name) return nullptr;
  auto found = resources.find(name);
  if (found != resources.end() && found->second) return found->second;

  for (const SettingRow& setting : kSettings) {
    if (std::strcmp(name, setting.name) == 0) return &(this->*setting.field);
  }
  for (const MakeRow& row : kMakeRows) {
    if (!rowApplies(row, name)) continue;
    row.make(*this, name);
    found = resources.find(name);
    return found != resources.end() ? found->second : nullptr;
  }
  return nullptr;
}

ResourceRegistry::~ResourceRegistry() {
  std::vector<std::string> order(std::begin(kReleaseFirst), std::end(kReleaseFirst));
  for (const auto& entry : resources) {
    if (isCaptureName(entry.first)) order.push_back(entry.first);
  }
  order.insert(order.end(), std::begin(kReleaseAfterCaptures), std::end(kReleaseAfterCaptures));
  for (const auto& entry : resources) order.push_back(entry.first);

  // A name listed twice (a fixed name reached again in the final sweep) is
  // released once: it leaves the map when released.
  for (const std::string& name : order) {
    auto found = resources.find(name);
    if (found == resources.end()) continue;
    void* value = found->second;
    Release release = releases_[name];
    resources.erase(found);
    if (value && release) release(value);
  }
}

std::string ResourceRegistry::loosePath(const char* name) const {
  // The path is built at any length; a long name is never cut short.
  return (dataPrefix ? std::string("data/") : rootPath) + (name ? name : "");
}

unsigned char* ResourceRegistry::readFile(const char* name) {
  if (entriesAsked && name) entriesAsked->push_back(name);
  if (usePack) return readPackEntry(PackDirectory, packName.c_str(), name);
  if (!name) return nullptr;
  return readLooseText(loosePath(name).c_str());
}

bool ResourceRegistry::readAsset(const char* name, std::vector<unsigned char>& bytes) {
  bytes.clear();
  if (!name) return false;
  if (!usePack) return platform::readWholeFile(loosePath(name).c_str(), bytes);
  unsigned char* entry = readFile(name);
  if (!entry) return false;
  bytes.assign(entry, entry + entrySize(name));
  delete[] entry;
  return true;
}

int ResourceRegistry::entrySize(const char* name) {
  if (!usePack) return 0;
  const int row = findPackEntry(PackDirectory, name);
  return row < 0 ? 0 : PackDirectory.unpackedSizes[row];
}
