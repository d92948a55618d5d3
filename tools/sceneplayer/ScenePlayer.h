// ScenePlayer: one scene of the show, played headless the way the recorder
// plays it, for the frame tool, the frame-time benchmark and the
// reference-frame tests.
//
// The show is built through all of its loading steps, so every scene draws
// the random values it would draw in the show; then the chosen scene alone
// is rendered frame by frame at a fixed rate from its local time 0, every
// frame played (movies and effects see the whole history). Run from the
// folder that holds trov.qz5; without a display the offscreen driver is
// used.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "tools/sceneplayer/PngImage.h"

class Demo;
class Scene;

struct PlayedFrame {
  int index = 0;
  float t = 0.0f;     // scene-local seconds
  float beat = 0.0f;  // beats since the scene's start
  double renderMs = 0.0;     // render and glFinish, no swap
  uint64_t primitives = 0;   // line segments (and other primitives) drawn
  double replayMs = 0.0;     // with replayFrames: the frame's draws alone (see below)
};

class ScenePlayer {
 public:
  ScenePlayer() = default;
  ~ScenePlayer();
  ScenePlayer(const ScenePlayer&) = delete;
  ScenePlayer& operator=(const ScenePlayer&) = delete;

  // Opens the window and context at width x height and builds the show.
  // False, with `error` set, when there is no context or no such scene.
  bool open(int scene, int width, int height);

  // Plays the scene at `fps` until it reports the end or `lastBeat` is
  // passed; `onFrame` runs after each frame is finished and before the
  // swap (the frame can be read back) and stops the run by returning false.
  void play(float fps, float lastBeat, const std::function<bool(const PlayedFrame&)>& onFrame);

  // The finished frame, top row first.
  RgbImage readFrame() const;

  // The scene's length in beats.
  float lengthInBeats() const;
  // The scene being played, for checks on its state between frames.
  Scene* playedScene() const { return scene; }

  std::string error;
  int width = 0;
  int height = 0;
  // Each frame is recorded into a display list as it is drawn, then the list
  // is drawn again alone and timed: the driver's work for the same
  // primitives without the scene's own (the raster floor). The frame time
  // then includes the recording and says nothing; the second drawing adds
  // onto the frame. NOTE: render-target switches and copies are not kept in
  // a display list, so the floor of a scene that draws into targets replays
  // those draws onto the screen instead; it is a floor only for scenes that
  // draw straight to the screen.
  bool replayFrames = false;

 private:
  void close();

  Demo* demo = nullptr;
  Scene* scene = nullptr;
  unsigned query = 0;
  unsigned replayList = 0;
  bool contextOpen = false;
};

// Peak resident memory of this process so far, in megabytes.
double peakResidentMegabytes();
