// Clock: the high-resolution performance counter and a wall-clock
// millisecond counter (the show's timing never uses processor time).
#pragma once

#include <cstdint>

namespace platform {

uint64_t performanceCounter();
uint64_t performanceFrequency();

// Wall-clock milliseconds since an arbitrary start; advances while the
// process sleeps or waits for the display.
uint32_t wallMilliseconds();

// Gives the processor away for about ms milliseconds.
void sleepMilliseconds(uint32_t ms);

// Seconds since the epoch, for reseeding the random generator.
uint32_t secondsNow();

}  // namespace platform
