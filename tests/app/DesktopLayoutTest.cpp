// Where the picture goes on a desktop: the largest exact 4:3 that fits,
// centred, the bars taking the rest.
#include "app/DesktopLayout.h"

#include <gtest/gtest.h>

namespace {

void expectLayout(int w, int h, int pictureW, int pictureH, int left, int right, int top,
                  int bottom) {
  const DesktopLayout l = desktopLayout(w, h);
  EXPECT_EQ(l.pictureWidth, pictureW) << w << "x" << h;
  EXPECT_EQ(l.pictureHeight, pictureH) << w << "x" << h;
  EXPECT_EQ(l.left, left) << w << "x" << h;
  EXPECT_EQ(l.right, right) << w << "x" << h;
  EXPECT_EQ(l.top, top) << w << "x" << h;
  EXPECT_EQ(l.bottom, bottom) << w << "x" << h;
  EXPECT_EQ(l.left + l.pictureWidth + l.right, w);
  EXPECT_EQ(l.top + l.pictureHeight + l.bottom, h);
  EXPECT_EQ(l.pictureWidth * 3, l.pictureHeight * 4);
}

TEST(DesktopLayout, WideScreensGetBarsLeftAndRight) {
  expectLayout(1920, 1080, 1440, 1080, 240, 240, 0, 0);
  expectLayout(2560, 1440, 1920, 1440, 320, 320, 0, 0);
  expectLayout(1366, 768, 1024, 768, 171, 171, 0, 0);
  // An odd spare pixel goes to the right-hand bar.
  expectLayout(1921, 1080, 1440, 1080, 240, 241, 0, 0);
}

TEST(DesktopLayout, TallAndExactScreens) {
  expectLayout(1280, 1024, 1280, 960, 0, 0, 32, 32);
  expectLayout(1080, 1920, 1080, 810, 0, 0, 555, 555);
  expectLayout(1024, 768, 1024, 768, 0, 0, 0, 0);
  // A height that is no multiple of 3 still gives an exact 4:3 picture.
  expectLayout(1600, 901, 1200, 900, 200, 200, 0, 1);
}

TEST(DesktopLayout, TinyOrBrokenSizesStillGiveAPicture) {
  const DesktopLayout l = desktopLayout(0, -5);
  EXPECT_EQ(l.pictureWidth, 4);
  EXPECT_EQ(l.pictureHeight, 3);
}

}  // namespace
