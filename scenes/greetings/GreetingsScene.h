// GreetingsScene: scene 4, 32 beats. Fifteen spark rings flare and turn in
// space, seen through up to four cameras cross-faded by the rhythm level;
// the greetings image shows one name row at a time on eight cards, four
// beats each, each flying in from the camera. An inset in the upper right
// shows the same rings and card dark on white, drawn in the pixel buffer.
#pragma once

#include <vector>

#include "show/Scene.h"

class NameCard;
class SparkRing;

class GreetingsScene final : public Scene {
 public:
  explicit GreetingsScene(ResourceRegistry* registry);
  ~GreetingsScene() override;
  GreetingsScene(const GreetingsScene&) = delete;
  GreetingsScene& operator=(const GreetingsScene&) = delete;

  int render(float t) override;

  // Draws the card of the current phase (exactly one) with `additive`,
  // then gives it level `level` for its next draw; returns its index.
  int drawCurrentCard(float level, bool additive);

  std::vector<SparkRing*> rings;
  std::vector<NameCard*> cards;
  float cardPhase = 0.0f;
  float eye[3] = {};
  float view[16] = {};

 private:
  void lookFrom(const float from[3], const float at[3]);
  void drawInset(float theta);
};

// The show-order factory for slot 4.
Scene* makeGreetingsScene(ResourceRegistry* registry);
