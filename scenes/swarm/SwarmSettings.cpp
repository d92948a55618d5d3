// SwarmSettings: "bug.cfg" read, checked and bounded.
#include "scenes/swarm/SwarmSettings.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "show/KeyValue.h"

namespace {

// A count must be at least 1; above `most` it is held there. NOTE: read
// with strtoll rather than atoi, whose result past the int range is
// undefined; values beyond even that saturate and are held at `most`.
int checkedCount(const char* text, const char* key, int fallback, int most) {
  const int at = findValue(text, key);
  if (at < 0) {
    std::printf("bug.cfg: \"%s\" missing, using %d\n", key, fallback);
    return fallback;
  }
  const long long value = std::strtoll(text + at, nullptr, 10);
  if (value < 1) {
    std::printf("bug.cfg: \"%s\" = %lld is not a positive count, using %d\n", key, value, fallback);
    return fallback;
  }
  if (value > most) {
    std::printf("bug.cfg: \"%s\" = %lld is too large, using %d\n", key, value, most);
    return most;
  }
  return int(value);
}

}  // namespace

SwarmSettings readSwarmSettings(const char* text) {
  SwarmSettings settings;
  if (text == nullptr) {
    std::printf("bug.cfg: not readable, using the default swarm\n");
    return settings;
  }
  settings.numBugs = checkedCount(text, "numBugs", settings.numBugs, kMaxBugs);
  settings.speed = checkedCount(text, "speed", settings.speed, kMaxSpeed);
  settings.drawCount = checkedCount(text, "drawCount", settings.drawCount, kMaxDrawCount);
  const int at = findValue(text, "alpha");
  if (at < 0) {
    std::printf("bug.cfg: \"alpha\" missing, using %g\n", settings.alpha);
  } else {
    const float alpha = std::strtof(text + at, nullptr);
    if (!std::isfinite(alpha) || alpha <= 0.0f || alpha > 1.0f) {
      std::printf("bug.cfg: \"alpha\" = %g is outside (0, 1], using %g\n", alpha, settings.alpha);
    } else {
      settings.alpha = alpha;
    }
  }
  return settings;
}
