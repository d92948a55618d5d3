// ShowOrder: the show's scenes by table slot. Adding a scene fills its slot
// in ShowOrder.cpp and nothing else here.
#pragma once

#include "show/Demo.h"

extern const ShowOrder showOrder;

// Lends the swarm's landscape to the credits' block field, whose ending
// melts into it; does nothing unless both scenes are there.
void linkCreditsToSwarm(Scene* credits, Scene* swarm);
