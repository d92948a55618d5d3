// ResourceRegistry: the one place scenes reach shared things by name.
//
// Display settings ("Width", "Height", "Good"), render targets, rhythm
// animations and the other shared effects are made on first request and
// owned here until the registry is destroyed. The registry also carries the
// asset readers: archive or loose-file reading and the image, model and
// movie loaders built on it (AssetLoading.cpp), which hand bytes to the
// decoders of gfx/ and swf/.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "gfx/AssetLoader.h"

struct Lib3dsFile;
class swfScript;

// The abstract store: the name map, the reading mode and the paths.
class ResourceStore {
 public:
  virtual ~ResourceStore() = default;
  // The named resource, made on first use; null for an unknown name.
  virtual void* get(const char* name) = 0;

  std::map<std::string, void*> resources;
  bool usePack = false;      // read assets from the archive
  bool dataPrefix = false;   // loose files under "data/"
  std::string rootPath = "/projects/data/wirefall/";
  std::string packName = "trov.qz5";
};

class ResourceRegistry final : public ResourceStore, public AssetLoader {
 public:
  ResourceRegistry() = default;
  ~ResourceRegistry() override;
  ResourceRegistry(const ResourceRegistry&) = delete;
  ResourceRegistry& operator=(const ResourceRegistry&) = delete;

  void* get(const char* name) override;

  // Archive / loose reading. The buffer belongs to the caller (delete[]) and
  // has two zero bytes after the entry's end; null on any failure.
  unsigned char* readFile(const char* name);
  // Unpacked size of an archive entry; 0 when unknown or not in archive mode.
  int entrySize(const char* name);
  // The asset's bytes as stored, from the archive (a missing entry has had
  // its message box) or from its loose file (silent). False when there are
  // none; `bytes` is then empty.
  bool readAsset(const char* name, std::vector<unsigned char>& bytes);
  // Where the loose copy of an asset lives: "data/" or the root, then the name.
  std::string loosePath(const char* name) const;

  // Image loaders: upload into the texture bound on the target the size
  // picks (2D for powers of two, rectangle otherwise).
  int loadJpegTexture(const char* name, int compress) override;
  int getJpegSize(const char* name, int32_t* width, int32_t* height) override;
  int decodeJpeg(const char* name, unsigned char* rgb) override;
  int loadPngTexture(const char* name, int transforms) override;

  // Model and movie loaders. A movie that cannot be read still comes back
  // as a player that plays nothing.
  Lib3dsFile* load3ds(const char* name) override;
  swfScript* loadSwf(const char* name);

  int good = 0;
  int width = 640;
  int height = 480;
  // When set, every archive entry asked for is appended to it by name, read
  // or not (the damaged-archive checks learn from it which scene reads what).
  std::vector<std::string>* entriesAsked = nullptr;

  // How a made resource is released; null for one owned by another
  // resource (the offset map belongs to its distortion).
  using Release = void (*)(void* value);
  // Stores a made resource under `name`; the registry releases it when it
  // is destroyed (an earlier value under that name is released now).
  void adopt(const std::string& name, void* value, Release release);

  // Makes "LineCube" (an effect of the scenes' floor) and adopts it under
  // `name`; installed by the first scene that asks for the cube.
  using Maker = void (*)(ResourceRegistry& registry, const char* name);
  Maker lineCubeMaker = nullptr;

 private:
  std::map<std::string, Release> releases_;
};
