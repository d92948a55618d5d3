// RhythmAnimation: loading the four rhythm movies into the registry and the
// "white" command they share.
#include "swf/RhythmAnimation.h"

#include <cstdio>
#include <cstdlib>

#include "show/ResourceRegistry.h"
#include "swf/swfScript.h"

int whiteCommand(int* flag, const std::vector<std::string>& arguments) {
  if (!flag) return 0;
  // strtol reads leading blanks and a sign and stops at the first non-digit;
  // no digits give 0.
  *flag = arguments.size() > 1 ? int(std::strtol(arguments[1].c_str(), nullptr, 10)) : 0;
  return 0;
}

void updateRhythmAnimation(RhythmAnimation* animation, float position) {
  if (animation) animation->update(position);
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
