// CreditsScene: scene 5, 64 beats. A 16 x 16 field of blocks rises and
// falls to the pulse of the music, names on the middle tops and a circling
// spotlight throwing the blocks' shadows, watched through four cameras cut
// every few beats (CreditsCamera). "zoltcredits.png" fades in over the
// lower left from beat 2 to 20. In the last eight beats the blocks melt
// into a green line grid shaped like the swarm's landscape, which the show
// lends to the blocks once both scenes exist, while the camera swings from
// straight above the field to a low view across it.
//
// Built before scene 0, in the same loading step as the swarm;
// construction draws the blocks' heights from the shared generator.
#pragma once

#include "gfx/TextureHandle.h"
#include "show/Scene.h"

class NameBlocks;

class CreditsScene final : public Scene {
 public:
  explicit CreditsScene(ResourceRegistry* registry);
  ~CreditsScene() override;
  CreditsScene(const CreditsScene&) = delete;
  CreditsScene& operator=(const CreditsScene&) = delete;

  int render(float t) override;

  // Moves the blocks by the pulse from the last frame's time to t in four
  // sub-steps and returns the block clock's level at t.
  float stepBlockClock(float t);
  // Turns the orbit of the circling camera by the change of the level
  // (a change of more than 1, the clock's jump, turns nothing).
  void turnOrbit(float level);

  NameBlocks* blocks = nullptr;
  TextureHandle creditsTexture{GL_TEXTURE_RECTANGLE_NV};
  bool creditsLoaded = false;

  // Carried from frame to frame and never reset, so a jump into the scene
  // goes on from where the clock and the orbit stood.
  float lastTime = 0.0f;
  float lastLevel = 0.0f;
  float orbitAngle = 0.0f;
  bool resetDone = false;

 private:
  void drawEnding(float x);
  void drawCredits(float b);
};

// The block clock at local time t: four per four seconds plus four times
// the pulse level, so it jumps at every multiple of 4 s.
float blockClockLevel(float t, float rhythmLevel);

// Opacity of the credits picture at beat b: none up to beat 2 and from beat
// 20 on, rising to full by beat 3.947 and falling again after 18.053.
float creditsPictureAlpha(float b);

// The show-order factory for slot 5.
Scene* makeCreditsScene(ResourceRegistry* registry);
