// Demo: the top of the show.
//
// Owns the scenes in show order, the music and the registry. Loads the
// scenes one step at a time behind the loading screen, then turns the main
// loop's frames into each scene's local time, moves on when a scene ends or
// the viewer presses "a", and reports when the last scene is over.
#pragma once

#include <cstdint>
#include <string>

#include "gfx/Effect.h"

class COverlayImage;
class MusicStream;
class ResourceRegistry;
class Scene;

// Makes one scene of the show; a null factory leaves its slot empty.
using SceneFactory = Scene* (*)(ResourceRegistry* registry);

// Lends what the scene of slot 6 made to the scene of slot 5, right after
// both are made; either may be null (a slot without a scene).
using SceneLink = void (*)(Scene* credits, Scene* swarm);

// The scene factories by table slot (0..7). Slots 5 (credits) and 6 (bug
// swarm) are made before slot 0, linked, and entered together after slot 4.
struct ShowOrder {
  SceneFactory slot[8];
  SceneLink link = nullptr;
};

class Demo final : public Effect {
 public:
  static constexpr int maxScenes = 10;
  static constexpr int loadingSteps = 7;

  Demo(ResourceRegistry* registry, const ShowOrder& order);
  ~Demo();
  Demo(const Demo&) = delete;
  Demo& operator=(const Demo&) = delete;

  // One loading step; returns the scene count the show has once that step
  // is done (1, 2, 3, 4, 5, 7, 8). Steps whose scenes are not built add
  // nothing but still count, so loading always ends.
  int loadNext();
  bool loadingDone() const { return loadStep >= loadingSteps; }
  // Makes scene index current before the first frame; ignored beyond count.
  void jumpTo(int index);
  int render(float t) override;
  int key(int code, int = 0, int = 0) override;

  // Capture mode: scene time follows the caller's clock and the music never
  // plays.
  void useCaptureClock();

  // Watch mode, between frames once the show plays. Show time is seconds of
  // the soundtrack: scene k begins at scenes[k]->startTime and the picture
  // runs timeOffset behind it.
  double showTime();
  // The current scene's beat at the show time.
  float currentBeat();
  // Holds the show clock and the music together, or lets both go on from
  // where they were held.
  void setPaused(bool paused);
  bool isPaused() const { return paused; }
  // Puts the show at `seconds` of show time: the scene holding it becomes
  // current, entered as a skip enters one, its local time set to match, and
  // the music is moved there. False, with nothing moved, outside the show.
  bool seekShow(double seconds);
  // Moves the show by `beats` beats of the current scene's tempo (back when
  // negative, held at the start); false past the end of the show.
  bool jumpBeats(float beats);

  ResourceRegistry* registry;
  // "tvmask2.jpg" at the output size, multiplied over every frame.
  COverlayImage* screenMask = nullptr;
  MusicStream* music = nullptr;
  std::string musicFile;  // the soundtrack demo.cfg names; empty when none
  bool musicPending = true;
  Scene* scenes[maxScenes] = {};  // in show order, as entered
  Scene* bySlot[8] = {};          // the same scenes by table slot
  int count = 0;
  int current = 0;
  bool skipRequested = false;
  double accumulatedStart = 0.0;
  bool captureClock = false;

  // Clock state shared with the music alignment.
  float timeOffset = -0.04f;
  float musicOffset = 0.0f;
  uint64_t timerStart = 0;
  uint64_t timerFrequency = 1;
  bool attribPushPending = true;
  int finaleMaskDrawn = 0;
  // Watch mode: the held show time while paused, and the caller's time of
  // the latest frame (the capture clock counts from it).
  bool paused = false;
  double heldShowTime = 0.0;
  float lastClock = 0.0f;

 private:
  void enter(Scene* scene);
  void startMusic();
  void drawScreenMask();
  void setShowClock(double seconds);

  ShowOrder order;
  int loadStep = 0;
  Scene* aside[2] = {};  // credits and swarm, made first, entered at step 5
};
