// DesktopLayout: the largest 4:3 picture on a screen and its bars.
#include "app/DesktopLayout.h"

#include <algorithm>

DesktopLayout desktopLayout(int width, int height) {
  DesktopLayout layout;
  layout.screenWidth = std::max(width, 4);
  layout.screenHeight = std::max(height, 3);
  // Exactly 4:3: the picture is `unit` steps of 4 x 3 pixels.
  const int unit = std::min(layout.screenWidth / 4, layout.screenHeight / 3);
  layout.pictureWidth = unit * 4;
  layout.pictureHeight = unit * 3;
  layout.left = (layout.screenWidth - layout.pictureWidth) / 2;
  layout.right = layout.screenWidth - layout.pictureWidth - layout.left;
  layout.top = (layout.screenHeight - layout.pictureHeight) / 2;
  layout.bottom = layout.screenHeight - layout.pictureHeight - layout.top;
  return layout;
}
