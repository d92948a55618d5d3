// SwarmSettings: "bug.cfg" read, checked and bounded.
#include "scenes/swarm/SwarmSettings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "show/KeyValue.h"

namespace {

// The value as written, for messages: up to the first blank, at most 40
// characters.
std::string written(const char* value) {
  size_t n = 0;
  while (n < 40 && value[n] && value[n] != ' ' && value[n] != '\t' && value[n] != '\n' && value[n] != '\r') ++n;
  return std::string(value, n);
}

// The value of `key`, or null after one line saying why there is none.
const char* valueOf(const char* text, const char* key, const std::string& fallback) {
  int at = -1;
  const ValueLookup found = lookUpValue(text, key, &at);
  if (found == ValueLookup::Found) return text + at;
  std::printf("bug.cfg: \"%s\" %s, using %s\n", key, found == ValueLookup::NoValue ? "has no value" : "missing",
              fallback.c_str());
  return nullptr;
}

// A count must be a finite number of at least 1; above `most` it is held
// there, a fraction is dropped. NOTE: read with strtod rather than atoi,
// which stops at the first non-digit (so "1e400" would read as 1) and whose
// result past the int range is undefined.
int checkedCount(const char* text, const char* key, int fallback, int most) {
  const char* value = valueOf(text, key, std::to_string(fallback));
  if (!value) return fallback;
  char* end = nullptr;
  const double number = std::strtod(value, &end);
  const char* problem = nullptr;
  if (end == value)
    problem = "is not a number";
  else if (!std::isfinite(number))
    problem = "is not a finite number";
  else if (number < 1.0)
    problem = "is not a positive count";
  if (problem) {
    std::printf("bug.cfg: \"%s\" = %s %s, using %d\n", key, written(value).c_str(), problem, fallback);
    return fallback;
  }
  if (number > most) {
    std::printf("bug.cfg: \"%s\" = %s is too large, using %d\n", key, written(value).c_str(), most);
    return most;
  }
  const int count = int(number);
  if (count != number)
    std::printf("bug.cfg: \"%s\" = %s is not a whole number, using %d\n", key, written(value).c_str(), count);
  return count;
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
  if (settings.numBugs * settings.drawCount > kMaxBugPasses) {
    const int passes = std::max(1, kMaxBugPasses / settings.numBugs);
    std::printf("bug.cfg: %d creatures x %d passes are more than a frame can draw, using %d %s\n",
                settings.numBugs, settings.drawCount, passes, passes == 1 ? "pass" : "passes");
    settings.drawCount = passes;
  }
  char defaultAlpha[32];
  std::snprintf(defaultAlpha, sizeof defaultAlpha, "%g", settings.alpha);
  if (const char* value = valueOf(text, "alpha", defaultAlpha)) {
    const float alpha = std::strtof(value, nullptr);
    if (!std::isfinite(alpha) || alpha <= 0.0f || alpha > 1.0f) {
      std::printf("bug.cfg: \"alpha\" = %s is outside (0, 1], using %g\n", written(value).c_str(), settings.alpha);
    } else {
      settings.alpha = alpha;
    }
  }
  return settings;
}
