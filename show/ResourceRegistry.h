// ResourceRegistry: the one place scenes reach shared things by name.
//
// Display settings ("Width", "Height", "Good"), render targets, rhythm
// animations and the other shared effects are made on first request and
// owned here until the registry is destroyed. The registry also carries the
// asset readers: archive or loose-file reading and the loaders built on it
// (each loader is defined beside the code it feeds: textures in gfx/,
// models in gfx/Scene3ds, movies in swf/).
#pragma once

#include <cstdint>
#include <map>
#include <string>

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

class ResourceRegistry : public ResourceStore {
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

  // Image loaders: upload into the texture bound on the target the size
  // picks (2D for powers of two, rectangle otherwise).
  int loadJpegTexture(const char* name, int compress);
  int getJpegSize(const char* name, int32_t* width, int32_t* height);
  int decodeJpeg(const char* name, unsigned char* rgb);
  // 0 on success, -1 when nothing was uploaded.
  int loadPngTexture(const char* name, int transforms);

  // Model and movie loaders.
  Lib3dsFile* load3ds(const char* name);
  swfScript* loadSwf(const char* name);

  int good = 0;
  int width = 640;
  int height = 480;

  // How a made resource is released; null for one owned by another
  // resource (the offset map belongs to its distortion).
  using Release = void (*)(void* value);
  // Stores a made resource under `name`; the registry releases it when it
  // is destroyed (an earlier value under that name is released now).
  void adopt(const std::string& name, void* value, Release release);

 private:
  std::map<std::string, Release> releases_;
};
