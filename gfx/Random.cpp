// Random: the show's shared pseudo-random generator.
#include "gfx/Random.h"

namespace zolt {

static uint32_t randomState = 1;

int random() {
  randomState = randomState * 214013u + 2531011u;
  return static_cast<int>((randomState >> 16) & 32767u);
}

float randomIn(float a, float b) { return a + float(random() % 1000) * (b - a) / 1000.0f; }

void seedRandom(uint32_t seed) { randomState = seed; }

}  // namespace zolt
