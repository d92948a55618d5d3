// DesktopLayout: where the picture sits on a desktop-sized screen. The
// picture is the largest 4:3 size that fits (both sides whole multiples of
// 4 and 3), centred, with black bars filling the rest.
#pragma once

struct DesktopLayout {
  int screenWidth = 0, screenHeight = 0;
  int pictureWidth = 0, pictureHeight = 0;
  // Bars: left and right, top and bottom. Where the spare pixels are odd
  // the right or bottom bar takes the extra one.
  int left = 0, right = 0, top = 0, bottom = 0;
};

// The layout for a screen of width x height pixels (at least 4 x 3).
DesktopLayout desktopLayout(int width, int height);
