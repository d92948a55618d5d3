// GalleryViews: which views the gallery's panels show, as "tentacle.swf"
// cues them, and what a panel's name means; no GL.
//
// A cue ("setCamera", name) starts a transition of two beats of the
// gallery's clock: the previous panel stays where the flight camera was at
// the cue, the new one waits where the camera will be two beats on, and the
// camera flies from one to the other. A cue naming the view already shown
// restarts the flight but keeps the older previous view.
#pragma once

#include <string>

namespace finale {

constexpr float kTransitionBeats = 2.0f;
constexpr int kPanelCount = 9;    // "cap0".."cap7" and the end picture
constexpr int kEndPanel = 8;      // "cap8": the end picture
constexpr int kEndPictureWidth = 640;
constexpr int kEndPictureHeight = 480;

struct GalleryViews {
  std::string currentView = "Camera0";
  std::string previousView;
  float transition = 0.0f;  // beats of the flight left; 0 when none

  // The movie's "setCamera" command with its new view name.
  void setCamera(const std::string& name);
  // True on the first frame after a cue, when the two placements are taken.
  bool transitionStarting() const { return transition == kTransitionBeats; }
  // Moves the flight on by `beats`; it ends at 0.
  void advance(float beats);
};

// The panel index of a name "cap" followed by a number: 0..8. -1 for any
// other name, and for "cap" with no number or one past the panels.
int capturePanelIndex(const std::string& name);
// True for names that start with "cap" (these views render nothing).
bool isCaptureName(const std::string& name);

struct TexelExtent {
  float s = 1.0f;
  float t = 1.0f;
};
// Texture coordinates spanning a panel's picture: texels for rectangle
// textures (the end picture always 640 x 480, captures the output size),
// 0..1 for a 2D texture.
TexelExtent panelTexelExtent(int panel, bool rectangleTexture, int width, int height);

}  // namespace finale
