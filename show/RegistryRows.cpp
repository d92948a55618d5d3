// RegistryRows: render targets, the distortion, rhythm animations and
// capture textures.
#include "show/RegistryRows.h"

#include <cstdio>
#include <cstring>

#include "gfx/CircleMask.h"
#include "gfx/ImageLoading.h"
#include "gfx/OffsetMap.h"
#include "gfx/PixelBuffer.h"
#include "gfx/ScreenDistortion.h"
#include "gfx/ScreenTexture.h"
#include "gfx/ShadowLight.h"
#include "gfx/TextureHandle.h"
#include "show/ResourceRegistry.h"
#include "swf/RhythmAnimation.h"
#include "swf/swfScript.h"

void makePixelBuffer(ResourceRegistry& registry, const char* name) {
  PixelBuffer* buffer = new PixelBuffer(512, 512);
  buffer->create(true);
  buffer->makeCurrent();
  buffer->restore();
  registry.adopt(name, buffer, [](void* value) { delete static_cast<PixelBuffer*>(value); });
}

void makeCopyScreen(ResourceRegistry& registry, const char* name) {
  const bool square = std::strcmp(name, "CopyScreen512x512") == 0;
  registry.adopt(name, new ScreenTexture(square ? 512 : registry.width, square ? 512 : registry.height, 0),
                 [](void* value) { delete static_cast<ScreenTexture*>(value); });
}

void makeScreenDistortion(ResourceRegistry& registry, const char* name) {
  ScreenDistortion* distortion = new ScreenDistortion(registry.width, registry.height);
  OffsetMap* map = new OffsetMap(128, 128, distortion->nvidia ? DistortionPath::TextureShaders : distortion->path);
  map->jitter = 0.15f;
  map->fade = 1.0f;
  map->scaleX = 1.0f;
  map->scaleY = 1.0f;
  if (!distortion->nvidia) {
    // The strip grid and the fragment program offset in pixels.
    map->scaleX = float(registry.width);
    map->scaleY = float(registry.height);
  }
  distortion->offsetMap.reset(map);
  registry.adopt("SimpleDSDT", distortion, [](void* value) { delete static_cast<ScreenDistortion*>(value); });
  registry.adopt("MessDSDT", map, nullptr);
}

void makeRhythmAnimations(ResourceRegistry& registry, const char* name) {
  // NOTE: the shared values outlive the animations that write into them; the
  // registry releases the animations first.
  int* white = new int(0);
  float* interp = new float[2]();
  float* verts = new float[8]();
  registry.adopt("white", white, [](void* value) { delete static_cast<int*>(value); });
  registry.adopt("interp", interp, [](void* value) { delete[] static_cast<float*>(value); });
  registry.adopt("verts", verts, [](void* value) { delete[] static_cast<float*>(value); });

  for (int i = 0; i < 4; ++i) {
    char fileName[32];
    std::snprintf(fileName, sizeof fileName, "rhythm%d.swf", i);
    swfScript* animation = registry.loadSwf(fileName);
    if (animation) {
      animation->requestPosition(1, interp);
      animation->requestCorners(1, verts);
      animation->registerCommand(
          "white", [white](SwfMovie*, SwfArguments arguments) { return whiteCommand(white, arguments); });
    }
    char key[16];
    std::snprintf(key, sizeof key, "Rhythm%d", i);
    registry.adopt(key, animation, [](void* value) { delete static_cast<swfScript*>(value); });
  }
}

void makeShadowLight(ResourceRegistry& registry, const char* name) {
  ShadowLight* light = new ShadowLight();
  light->mapWidth = light->mapHeight = registry.good ? 512 : 256;
  light->createDepthMap(GL_FLOAT);
  registry.adopt(name, light, [](void* value) { delete static_cast<ShadowLight*>(value); });
}

void makeCaptureTexture(ResourceRegistry& registry, const char* name) {
  registry.adopt(name, new ScreenTexture(registry.width, registry.height, 0),
                 [](void* value) { delete static_cast<ScreenTexture*>(value); });
}

void makeCircleMask(ResourceRegistry& registry, const char* name) {
  TextureHandle* mask = new TextureHandle(GL_TEXTURE_2D);
  uploadCircleMask(*mask);
  registry.adopt(name, mask, [](void* value) { delete static_cast<TextureHandle*>(value); });
}

void makeLineCube(ResourceRegistry& registry, const char* name) {
  if (registry.lineCubeMaker) registry.lineCubeMaker(registry, name);
}
