// ScreenQuad: the blended full-screen quad scenes fade with, and the flat
// projection every screen-space drawing starts from.
#pragma once

// Projection left..right by bottom..top (near 0, far 10) and an identity
// model view; the matrix mode is left at model view.
void setScreenOrtho(double left, double right, double bottom, double top);

// Draws one quad over width x height (y grows downwards) in the current
// colour with alpha blending; blending stays enabled afterwards.
void drawScreenQuad(int width, int height);
