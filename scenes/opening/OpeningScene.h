// OpeningScene: scene 0, 32 beats in four acts chosen by the beat count.
//
//   0-8   the title lettering and grid of "vs.3ds" in white (TitleLines);
//   8-20  the lattice-bent model of "zolt.3ds" in green;
//   20-28 the model through a fifth camera with its footprint, on bar3's pulses;
//   28-32 the footprint growing into the ruled ground square under fog.
// The movies bar0-bar3 are never drawn: their layers' alphas are the cut
// list that decides which camera views show. Depends on the 3DS adapter,
// the movie player, the lattice mesh and the rhythm animations.
#pragma once

#include "show/Scene.h"

class LatticeMesh;
class Scene3ds;
class TitleLines;
class swfScript;

class OpeningScene : public Scene {
 public:
  explicit OpeningScene(ResourceRegistry* registry);
  ~OpeningScene() override;
  OpeningScene(const OpeningScene&) = delete;
  OpeningScene& operator=(const OpeningScene&) = delete;

  int render(float t) override;

  Scene3ds* modelScene = nullptr;
  LatticeMesh* model = nullptr;
  TitleLines* title = nullptr;
  swfScript* bars[3] = {};
  swfScript* bar3 = nullptr;
  float channel[4][4] = {};  // colour of layers 1..4 of the active bar
  float bar3Channel[4] = {};

 private:
  void drawModelCuts(float b);
  void drawFootprintAct(float b);
  void drawGroundAct(float b);
};

// The show-order factory for slot 0.
Scene* makeOpeningScene(ResourceRegistry* registry);
