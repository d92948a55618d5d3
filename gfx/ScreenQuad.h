// ScreenQuad: the blended full-screen quad scenes fade with.
#pragma once

// Draws one quad over width x height (y grows downwards) in the current
// colour with alpha blending; blending stays enabled afterwards.
void drawScreenQuad(int width, int height);
