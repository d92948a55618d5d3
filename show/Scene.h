// Scene: the base of every scene of the show.
//
// Holds the tempo and beat clock (130 beats per minute), duration and start
// time, the shared resources every scene borrows from the registry (rhythm
// animations, the pixel buffer, copy-screen textures, the screen distortion
// with its offset map, and the rhythm values), the display settings, and
// the once-per-scene capture of a finished frame that the finale shows
// again. The constructor needs a current GL context: the first scene makes
// the shared render targets.
#pragma once

#include "gfx/Effect.h"
#include "gfx/LineDrawing.h"
#include "swf/RhythmAnimation.h"

class OffsetMap;
class PixelBuffer;
class ResourceRegistry;
class ScreenDistortion;
class ScreenTexture;

class Scene : public Effect {
 public:
  explicit Scene(ResourceRegistry* registry);
  virtual ~Scene() = default;

  int render(float) override { return 0; }

  // Beats since the scene's start (never negative).
  float beatsAt(float t) const {
    float b = t * tempo / 60.0f;
    return b > 0.0f ? b : 0.0f;
  }
  float secondsAtBeat(float b) const { return b * 60.0f / tempo; }

  // Drives rhythm animation `index` (0..3) to the beat of t, 16 frames a
  // beat over a 128-frame loop, and derives rhythmLevel from the values it
  // wrote.
  void updateRhythm(float t, int index);
  // Copies the finished frame into captureTexture once, on the first frame
  // after captureTime.
  void captureOnce(float t);
  // Line width of glow pass k at this scene's output width.
  float glowWidth(int k) const { return ::glowWidth(width, k); }

  ResourceRegistry* registry;
  RhythmAnimation* rhythm[4] = {};
  PixelBuffer* pbuffer512 = nullptr;
  ScreenTexture* copyScreen512 = nullptr;
  ScreenTexture* copyScreen640 = nullptr;
  ScreenDistortion* simpleDsdt = nullptr;
  OffsetMap* messDsdt = nullptr;
  float* interp = nullptr;
  float* verts = nullptr;
  int* white = nullptr;
  ScreenTexture* captureTexture = nullptr;
  bool captured = false;
  float captureTime = 0.0f;  // seconds of local time
  float rhythmLevel = 0.0f;
  float duration = 0.0f;   // seconds
  float startTime = 0.0f;  // seconds of show time, written by the show
  float tempo = 130.0f;    // beats per minute
  int good = 0;
  int width = 640;
  int height = 480;
  bool isNvidia = false;
};
