// DesktopPicture: the off-screen picture and the swap hook that shows it.
#include "app/DesktopPicture.h"

#include <cstdio>

#include "gfx/OffscreenPicture.h"
#include "platform/Window.h"

namespace {

OffscreenPicture picture;
DesktopLayout placement;

}  // namespace

bool startDesktopPicture(const DesktopLayout& layout) {
  placement = layout;
  if (!picture.create(layout.pictureWidth, layout.pictureHeight)) {
    std::printf("No off-screen picture of %dx%d: the show draws straight into the window\n",
                layout.pictureWidth, layout.pictureHeight);
    std::fflush(stdout);
    return false;
  }
  platform::setBeforeSwap(presentDesktopPicture);
  return true;
}

void presentDesktopPicture() {
  // GL counts rows from the bottom: the picture's lower-left corner sits
  // on the bottom bar.
  picture.present(0, placement.left, placement.bottom);
}

void stopDesktopPicture() {
  platform::setBeforeSwap(nullptr);
  picture.destroy();
}
