// ShowOrder: which scene plays in which slot, and the one link between two
// of them.
#include "scenes/ShowOrder.h"

#include "scenes/credits/CreditsScene.h"
#include "scenes/effects/NameBlocks.h"
#include "scenes/finale/FinaleScene.h"
#include "scenes/greetings/GreetingsScene.h"
#include "scenes/linecube/LineCubeScene.h"
#include "scenes/opening/OpeningScene.h"
#include "scenes/plane/PlaneScene.h"
#include "scenes/swarm/BugSwarmScene.h"
#include "scenes/tunnel/TunnelScene.h"

void linkCreditsToSwarm(Scene* credits, Scene* swarm) {
  auto* creditsScene = dynamic_cast<CreditsScene*>(credits);
  auto* swarmScene = dynamic_cast<BugSwarmScene*>(swarm);
  if (!creditsScene || !swarmScene || !creditsScene->blocks) return;
  creditsScene->blocks->targetGrid = swarmScene->terrain;
}

const ShowOrder showOrder = {{
    makeOpeningScene,  // 0: opening
    makePlaneScene,    // 1: plane and scroller
    makeLineCubeScene, // 2: line cube
    makeTunnelScene,   // 3: tunnel
    makeGreetingsScene,  // 4: greetings
    makeCreditsScene,  // 5: credits
    makeBugSwarmScene, // 6: bug swarm
    makeFinaleScene,   // 7: finale
}, linkCreditsToSwarm};
