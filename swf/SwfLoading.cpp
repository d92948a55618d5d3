// The registry's movie loader: a swfScript from an archive entry, or from
// a loose file under the data root.
#include <string>

#include "show/ResourceRegistry.h"
#include "swf/swfScript.h"

swfScript* ResourceRegistry::loadSwf(const char* name) {
  if (!name) return new swfScript(nullptr, true, 0);
  if (usePack) {
    unsigned char* bytes = readFile(name);
    if (!bytes) return new swfScript(nullptr, true, 0);  // says so and plays nothing
    int size = entrySize(name);
    swfScript* script = new swfScript(bytes, true, size > 0 ? static_cast<size_t>(size) : 0);
    delete[] bytes;
    return script;
  }
  std::string path = (dataPrefix ? std::string("data/") : rootPath) + name;
  return new swfScript(path.c_str(), false, 0);
}
