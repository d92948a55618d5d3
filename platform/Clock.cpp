// Clock: counters on std::chrono's steady clock.
#include "platform/Clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace platform {

using SteadyClock = std::chrono::steady_clock;

uint64_t performanceCounter() {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(SteadyClock::now().time_since_epoch())
          .count());
}

uint64_t performanceFrequency() { return 1000000000ull; }

uint32_t wallMilliseconds() {
  static const SteadyClock::time_point start = SteadyClock::now();
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - start).count());
}

void sleepMilliseconds(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

uint32_t secondsNow() { return static_cast<uint32_t>(std::time(nullptr)); }

}  // namespace platform
