// DistortionPath: the vendor path choice and its hidden override.
#include "gfx/DistortionPath.h"

#include <cstdlib>
#include <cstring>

#include "gfx/ImageLoading.h"
#include "gfx/NvParse.h"

DistortionPath chooseDistortionPath(bool nvidia, bool fragmentProgram, const char* forced) {
  if (forced != nullptr && std::strcmp(forced, "grid") == 0) return DistortionPath::Grid;
  const bool forceProgram = forced != nullptr && std::strcmp(forced, "arb") == 0;
  if (nvidia && !forceProgram) return DistortionPath::TextureShaders;
  return fragmentProgram ? DistortionPath::FragmentProgram : DistortionPath::Grid;
}

DistortionPath distortionPath() {
  const bool fragmentProgram = nvparseHasExtension("GL_ARB_fragment_program") &&
                               nvparseHasExtension("GL_ARB_texture_float") &&
                               nvparseHasExtension("GL_ARB_texture_rg");
  return chooseDistortionPath(isNvidia(), fragmentProgram, std::getenv("ZOLT_DISTORTION"));
}

const char* distortionPathName(DistortionPath path) {
  switch (path) {
    case DistortionPath::TextureShaders: return "texture shaders";
    case DistortionPath::FragmentProgram: return "fragment program";
    case DistortionPath::Grid: break;
  }
  return "strip grid";
}
