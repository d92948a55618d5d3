// PlaneScene: scene 1, 32 beats of the rippling green height field.
//
// The field morphs between its key shapes with the rhythm level (rhythm
// animation 3), carries the scroller on its middle rows, and a hundred
// trails race along its valley. Four cameras of "plane.3DS" see it; the
// movie "plane.swf" is never drawn, its layers' alphas are the cut list
// that decides which views show and how bright. Over the last four beats
// the grid fades and the trails close into loops on a small sphere. While
// the shared "white" flag is raised the background turns white and the
// grid is drawn in dark lines. Depends on the 3DS adapter, the movie
// player and the rhythm animations.
#pragma once

#include "gfx/TextureHandle.h"
#include "show/Scene.h"

class CurveTrails;
class HeightField;
class Scene3ds;
class swfScript;

class PlaneScene : public Scene {
 public:
  explicit PlaneScene(ResourceRegistry* registry);
  ~PlaneScene() override;
  PlaneScene(const PlaneScene&) = delete;
  PlaneScene& operator=(const PlaneScene&) = delete;

  int render(float t) override;

  // A view's brightness: its channel value, overridden by the closing fade
  // from beat 28; always within 0..1.
  static float viewLevel(float b, float channelValue);
  // A channel draws its view only above this.
  static constexpr float channelThreshold = 0.01f;

  HeightField* field = nullptr;
  Scene3ds* planeScene = nullptr;
  swfScript* movie = nullptr;
  float channel[4][4] = {};  // colour of layers 1..4; the alpha is the cut
  CurveTrails* trails = nullptr;
  TextureHandle scroller;
  bool whiteDropped = false;  // the first raised "white" of the run is dropped

 private:
  bool flashing() const { return white && *white != 0; }
  void drawView(float b, float level, float v);
};

// The show-order factory for slot 1.
Scene* makePlaneScene(ResourceRegistry* registry);
