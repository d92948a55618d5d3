// GalleryViews: cues, the flight's countdown and panel names.
#include "scenes/finale/GalleryViews.h"

#include <cctype>

namespace finale {

void GalleryViews::setCamera(const std::string& name) {
  if (currentView != name) previousView = currentView;
  currentView = name;
  transition = kTransitionBeats;
}

void GalleryViews::advance(float beats) {
  transition -= beats;
  if (transition < 0.0f) transition = 0.0f;
}

bool isCaptureName(const std::string& name) { return name.compare(0, 3, "cap") == 0; }

int capturePanelIndex(const std::string& name) {
  if (!isCaptureName(name) || name.size() == 3 || name.size() > 5) return -1;
  int k = 0;
  for (size_t i = 3; i < name.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return -1;
    k = k * 10 + (name[i] - '0');
  }
  return k < kPanelCount ? k : -1;
}

TexelExtent panelTexelExtent(int panel, bool rectangleTexture, int width, int height) {
  if (!rectangleTexture) return {1.0f, 1.0f};
  if (panel == kEndPanel) return {float(kEndPictureWidth), float(kEndPictureHeight)};
  return {float(width), float(height)};
}

}  // namespace finale
