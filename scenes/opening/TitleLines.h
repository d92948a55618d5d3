// TitleLines: the opening's title — the two lines of 3D lettering of
// "vs.3ds" and a square grid under them, drawn in white through up to four
// cameras that the scene's bar movies cut between.
//
// Owned by OpeningScene, which lends it the bar movies and their channel
// values and sets its level every frame. Depends on the 3DS adapter and the
// movie player.
#pragma once

#include "gfx/DisplayList.h"
#include "gfx/Effect.h"

class ResourceRegistry;
class Scene3ds;
class swfScript;

class TitleLines final : public Effect {
 public:
  explicit TitleLines(ResourceRegistry* registry);
  ~TitleLines();
  TitleLines(const TitleLines&) = delete;
  TitleLines& operator=(const TitleLines&) = delete;

  // x in beats since the scene's start.
  int render(float x) override;

  Scene3ds* titleScene = nullptr;
  DisplayList textList[4];  // 2 and 3 stay empty
  DisplayList gridList;
  swfScript* bars[3] = {};                    // not owned
  const float* channelValue[4] = {};          // not owned: alpha of layers 1..4
  float level = 0.0f;
  int width = 640;
};

// The active bar for beat x: bar0, bar1, bar0, bar2, four beats each.
int activeBarAt(float x);
