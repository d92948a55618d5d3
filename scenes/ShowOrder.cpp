// ShowOrder: which scene plays in which slot.
#include "scenes/ShowOrder.h"

#include "scenes/finale/FinaleScene.h"
#include "scenes/greetings/GreetingsScene.h"
#include "scenes/linecube/LineCubeScene.h"
#include "scenes/opening/OpeningScene.h"
#include "scenes/plane/PlaneScene.h"
#include "scenes/swarm/BugSwarmScene.h"
#include "scenes/tunnel/TunnelScene.h"

const ShowOrder showOrder = {{
    makeOpeningScene,  // 0: opening
    makePlaneScene,    // 1: plane and scroller
    makeLineCubeScene, // 2: line cube
    makeTunnelScene,   // 3: tunnel
    makeGreetingsScene,  // 4: greetings
    nullptr,           // 5: credits
    makeBugSwarmScene, // 6: bug swarm
    makeFinaleScene,   // 7: finale
}};
