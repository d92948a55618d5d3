#include "support/StandInScenes.h"

namespace testsupport {

std::vector<int> StandInScene::made;
std::vector<int> StandInScene::destroyed;
float standInDurations[8] = {1.5f, 2.25f, 0.1f, 3.0f, 1.0f, 0.7f, 2.0f, 4.0f};

template <int Slot>
static Scene* makeStandIn(ResourceRegistry* registry) {
  return new StandInScene(registry, Slot, standInDurations[Slot]);
}

ShowOrder standInOrder() {
  return ShowOrder{{makeStandIn<0>, makeStandIn<1>, makeStandIn<2>, makeStandIn<3>,
                    makeStandIn<4>, makeStandIn<5>, makeStandIn<6>, makeStandIn<7>}};
}

}  // namespace testsupport
