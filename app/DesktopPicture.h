// DesktopPicture: with a desktop window the show draws into an off-screen
// picture of the layout's picture size, and every swap lays it into the
// window between black bars. Frame reads and screen copies see the picture
// alone, exactly as they see a window of that size.
#pragma once

#include "app/DesktopLayout.h"

// Makes the picture and binds it; needs the GL entry points. False (the
// show then draws straight into the window's lower-left corner) when the
// driver cannot make it, said on standard output.
bool startDesktopPicture(const DesktopLayout& layout);

// Lays the picture into the window now (the swap does this itself).
void presentDesktopPicture();

// Releases the picture; the window's own framebuffer is bound afterwards.
void stopDesktopPicture();
