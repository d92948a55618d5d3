// StandInScenes: scenes of a fixed duration that record the local times
// they are asked to render, for testing the show's sequencing.
#pragma once

#include <vector>

#include "show/Scene.h"
#include "show/Demo.h"

namespace testsupport {

class StandInScene : public Scene {
 public:
  StandInScene(ResourceRegistry* registry, int slot, float duration) : Scene(registry), slot(slot) {
    this->duration = duration;
    made.push_back(slot);
  }
  ~StandInScene() override { destroyed.push_back(slot); }
  int render(float t) override {
    times.push_back(t);
    return t >= duration ? 1 : 0;
  }

  int slot;
  std::vector<float> times;
  static std::vector<int> made;
  static std::vector<int> destroyed;
};

// A show order whose slot k lasts durations[k] seconds.
ShowOrder standInOrder();
extern float standInDurations[8];

}  // namespace testsupport
