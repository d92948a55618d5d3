// ResourceRegistry: display settings by name (shared resources join as
// they are built).
#include "show/ResourceRegistry.h"

#include <cstring>

ResourceRegistry::~ResourceRegistry() = default;

void* ResourceRegistry::get(const char* name) {
  if (std::strcmp(name, "Good") == 0) return &good;
  if (std::strcmp(name, "Width") == 0) return &width;
  if (std::strcmp(name, "Height") == 0) return &height;
  return nullptr;
}
