// FinaleScene: scene 7, the last of the show, 132 beats.
//
//   c < 32     the shadowed tentacle ball from four camera moves, with the
//              line models "t-rov.3ds" and "qz5.3ds" flashing in on the
//              cues of "end.swf" (layers 1 and 2);
//   32 - 138   the gallery: "tentacle2.3ds"'s "Camera01" flies past framed
//              panels, the captures of the earlier scenes, the end picture
//              "zoltend.png" and views of the tentacles rendered into
//              textures; "tentacle.swf"'s "setCamera" commands cue them;
//   after      black.
// c is the scene's own clock: from beat 108 it runs ever faster, and the
// last panel is framed in black and dissolved by the screen distortion.
// Construction draws from the shared random generator (the two models'
// keys); the gallery and the models draw from it while playing.
#pragma once

#include <string>

#include "gfx/DisplayList.h"
#include "gfx/OffsetProgram.h"
#include "gfx/GlExtensions.h"
#include "scenes/finale/GalleryViews.h"
#include "show/Scene.h"
#include "swf/SwfMovie.h"

class LatticeMesh;
class Scene3ds;
class ScreenTexture;
class ShadowedTentacles;
class swfScript;
struct PanelPicture;

class FinaleScene final : public Scene {
 public:
  explicit FinaleScene(ResourceRegistry* registry);
  ~FinaleScene() override;
  FinaleScene(const FinaleScene&) = delete;
  FinaleScene& operator=(const FinaleScene&) = delete;

  int render(float t) override;
  // "setCamera" from tentacle.swf: argument 1 names the next view.
  void onSetCamera(const SwfArguments& arguments);

  LatticeMesh* modelA = nullptr;
  LatticeMesh* modelB = nullptr;
  swfScript* cueMovie = nullptr;
  swfScript* panelMovie = nullptr;
  ShadowedTentacles* tentacleBall = nullptr;
  Scene3ds* panelScene = nullptr;
  Scene3ds* flightScene = nullptr;
  ScreenTexture* viewTexture = nullptr;
  ScreenTexture* viewTexture2 = nullptr;
  ScreenTexture* captures[8] = {};
  GLuint panelTextures[finale::kPanelCount] = {};
  GLuint endPicture = 0;  // owned; panelTextures[8]
  DisplayList panelPrograms[2];  // NVIDIA: texture shaders for 2D and rectangle pictures
  OffsetProgram panelFragmentPrograms[2];  // the same, translated, where the map has a float texture
  float channelA[4] = {};
  float channelB[4] = {};

  finale::GalleryViews views;
  float flash = 0.0f;
  bool panelsDistorted = false;
  bool endReached = false;
  float panelOffsetTime = 0.0f;
  bool galleryStarted = false;
  float galleryStartTime = 0.0f;  // t0: t + v on the gallery's first frame
  float accelerationStartTime = -1.0f;
  float lastTentacleTime = -1.0f;
  float lastGalleryBeat = -1.0f;
  float startPlacement[16] = {};
  float endPlacement[16] = {};

 private:
  // FinaleTentaclePart.cpp
  void tentaclePart(float a, float b, float t);
  void drawModels(float x);
  void drawModel(LatticeMesh* model, float value, float x, float wideAngle);
  // FinaleGallery.cpp
  void galleryPart(float e, float s);
  void takeTransitionPlacements(float e);
  // Where the panel in front of "Camera01" stands: the camera's inverse.
  void cameraPlacement(float placement[16]) const;
  // Pushes the model-view matrix and moves onto a panel at `placement`.
  void pushPanelPlacement(const float placement[16]) const;
  void renderView(float a, const std::string& name, ScreenTexture* texture);
  void drawPanel(const std::string& name, ScreenTexture* texture);
  void placePanel(const float placement[16], const std::string& name, ScreenTexture* texture);
  void drawEndFrame(float e);
  PanelPicture capturePicture(int k) const;
  void drawDisplaced(const PanelPicture& picture);
};

// The show-order factory for slot 7.
Scene* makeFinaleScene(ResourceRegistry* registry);
