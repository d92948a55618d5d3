// ShowOrder: the show's scenes by table slot. Adding a scene fills its slot
// in ShowOrder.cpp and nothing else here.
#pragma once

#include "show/Demo.h"

extern const ShowOrder showOrder;
