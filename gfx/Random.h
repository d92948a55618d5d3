// Random: the show's shared pseudo-random generator.
//
// Every effect draws from this one generator in a fixed order, so the show
// looks the same on every run for a given seed. It is a linear congruential
// generator (x * 214013 + 2531011, result bits 16..30); never use the C
// library's rand(), whose sequence differs between platforms.
#pragma once

#include <cstdint>

namespace zolt {

// Next value in 0..32767.
int random();

// A value in [a, b) in thousandths of the range: a + (r mod 1000) (b - a) /
// 1000 for the next r. The effects' "random in [a, b]".
float randomIn(float a, float b);

// Sets the generator state (the show starts from 1).
void seedRandom(uint32_t seed);

}  // namespace zolt
