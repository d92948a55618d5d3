// LineCubeScene: scene 2, 32 beats of the line cube on the ring disc.
//
// Every frame the shared LineCube is drawn off screen into the 512 x 512
// pixel buffer and copied into a texture; the texture, cut round by the
// circle mask, lies on a disc of line rings over which a chain of
// highlighted cells runs. Cameras of "linecube.3ds" view the disc; the
// movie "linecube.swf" is never drawn: stepped by the rhythm level, the
// alphas of its four layers decide which views show and how bright. From
// beat 28 one camera ("Camera05") takes over. The two full-screen pictures
// "zolt1.png" and "zolt2.png" fade in and out over beats 4 to 16.5 and 20
// to 28. Depends on the 3DS adapter, the movie player, the rhythm
// animations and the registry's pixel buffer, circle mask and line cube.
#pragma once

#include "scenes/linecube/RingDisc.h"
#include "show/Scene.h"

class COverlayImage;
class LineCube;
class Scene3ds;
class TextureHandle;
class swfScript;

class LineCubeScene : public Scene {
 public:
  explicit LineCubeScene(ResourceRegistry* registry);
  ~LineCubeScene() override;
  LineCubeScene(const LineCubeScene&) = delete;
  LineCubeScene& operator=(const LineCubeScene&) = delete;

  int render(float t) override;

  // A channel draws its view only above this.
  static constexpr float channelThreshold = 0.125f;
  // From this beat the single closing view replaces the channels' views.
  static constexpr float closingBeat = 28.0f;
  static bool drawsView(float channelValue) { return channelValue > channelThreshold; }
  // Strength of overlay 1 or 2 at beat b; 0 outside its beats.
  static float overlayLevel(int overlay, float b);

  Scene3ds* linecubeScene = nullptr;
  swfScript* movie = nullptr;
  float channel[4][4] = {};  // colour of layers 1..4; the alpha is the cut
  LineCube* lineCube = nullptr;
  TextureHandle* circleMask = nullptr;
  RingDisc disc;
  COverlayImage* overlay1 = nullptr;
  COverlayImage* overlay2 = nullptr;
  float level0 = 0.0f;
  float beats = 0.0f;
  float viewLevel = 0.0f;
  int viewsDrawn = 0;  // views drawn in the last frame

 private:
  void renderCube(float x);
  void drawView();
};

// The show-order factory for slot 2.
Scene* makeLineCubeScene(ResourceRegistry* registry);
