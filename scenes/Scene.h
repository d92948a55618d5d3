// Scene: the base of every scene of the show — its tempo, beat clock,
// duration and place in the show.
#pragma once

#include "scenes/Effect.h"

class ResourceRegistry;

class Scene : public Effect {
 public:
  explicit Scene(ResourceRegistry* registry) : registry(registry) {}
  virtual ~Scene() = default;

  int render(float) override { return 0; }

  // Beats since the scene's start (never negative).
  float beatsAt(float t) const {
    float b = t * tempo / 60.0f;
    return b > 0.0f ? b : 0.0f;
  }
  float secondsAtBeat(float b) const { return b * 60.0f / tempo; }

  ResourceRegistry* registry;
  float duration = 0.0f;   // seconds
  float startTime = 0.0f;  // seconds of show time, written by the show
  float tempo = 130.0f;    // beats per minute
};
