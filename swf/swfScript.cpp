// swfScript: two-copy playback and layer requests (see the header).
#include "swf/swfScript.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/FileRead.h"

namespace {

const float kPixelsPerTwip = 0.05f;

}  // namespace

swfScript::swfScript(const void* source, bool inMemory, size_t size, const char* name) {
  if (!source) {
    if (name && name[0])
      std::printf("screwup in swfScript constructor: no %s\n", name);
    else
      std::printf("screwup in swfScript constructor\n");
    return;
  }
  if (inMemory) {
    build(static_cast<const unsigned char*>(source), size, name);
  } else {
    const char* path = static_cast<const char*>(source);
    std::vector<unsigned char> bytes;
    const bool found = platform::readWholeFile(path, bytes);
    if (!found) std::printf("File not found: %s\n", path);
    build(bytes.data(), bytes.size(), !found ? nullptr : name && name[0] ? name : path);
  }
}

swfScript::~swfScript() = default;

void swfScript::build(const unsigned char* bytes, size_t size, const char* name) {
  // Each copy reads the bytes itself. An unreadable path still gives two
  // empty copies, so requests and commands behave as for a bad file.
  static const unsigned char kNothing = 0;
  if (!bytes) bytes = &kNothing;
  // The ahead copy reads the same bytes: one line about them is enough.
  name_ = name ? name : "";
  current = std::make_unique<SwfMovie>(bytes, size, name);
  ahead = std::make_unique<SwfMovie>(bytes, size, nullptr);
  // Only the current copy dispatches commands, so each fires once per frame
  // entered (the ahead copy would only reach empty built-ins).
  ahead->actionsEnabled = false;
}

void swfScript::registerCommand(const std::string& name, CommandHandler handler) {
  if (current) current->registerCommand(name, std::move(handler));
}

void swfScript::registerObjectCallback(const std::string& name, ObjectCallback callback) {
  if (current) current->registerObjectCallback(name, std::move(callback));
}

void swfScript::addRequest(int kind, int layer, float* out) {
  if (layer < 0 || layer >= SwfMovie::kLayerCount || !out) {
    std::printf("swfScript: request on layer %d ignored (layers are 0..19)\n", layer);
    return;
  }
  requests.push_back({kind, layer, out});
}

void swfScript::requestColour(int layer, float* out) { addRequest(kRequestColour, layer, out); }
void swfScript::requestCorners(int layer, float* out) { addRequest(kRequestCorners, layer, out); }
void swfScript::requestPosition(int layer, float* out) { addRequest(kRequestPosition, layer, out); }

void swfScript::update(double p) {
  if (!current || !std::isfinite(p)) return;
  // A movie without frames has nothing to wrap by and enters nothing.
  const bool playable = current->frameCount > 0;
  if (loop && playable) p = std::fmod(p, static_cast<double>(current->frameCount));
  if (playable) {
    current->update(p);
    ahead->update(p + 1.0);
  }
  const float t = static_cast<float>(p - std::floor(p));
  for (LayerRequest& request : requests) {
    const auto& now = current->layers[request.layer].instances;
    const auto& next = ahead->layers[request.layer].instances;
    if (now.empty()) {
      // Once per request, naming the movie: a broken movie would otherwise
      // fill the log with one line a frame.
      if (!request.reportedEmpty)
        std::printf("Error in swfScript::update, requested layer has no objects (%s, layer %d)\n",
                    name_.c_str(), request.layer);
      request.reportedEmpty = true;
      // An empty layer contributes nothing: zeros switch a channel off.
      const int count = request.kind == kRequestColour ? 4 : request.kind == kRequestCorners ? 8 : 2;
      for (int i = 0; i < count; ++i) request.out[i] = 0.0f;
      continue;
    }
    const SwfCharacter& a = *now.front();
    // The ahead copy may already have lost the object: hold the current value.
    const SwfCharacter& b = next.empty() ? a : *next.front();
    switch (request.kind) {
      case kRequestColour:
        for (int i = 0; i < 4; ++i)
          request.out[i] = lerp(t, a.transformedColour[i], b.transformedColour[i]);
        break;
      case kRequestCorners:
        for (int i = 0; i < 4; ++i) {
          request.out[2 * i] =
              lerp(t, a.transformedCorners[i].x, b.transformedCorners[i].x) * kPixelsPerTwip;
          request.out[2 * i + 1] =
              lerp(t, a.transformedCorners[i].y, b.transformedCorners[i].y) * kPixelsPerTwip;
        }
        break;
      case kRequestPosition:
        request.out[0] = lerp(t, a.translation[0], b.translation[0]);
        request.out[1] = lerp(t, a.translation[1], b.translation[1]);
        break;
    }
  }
}
