// FinaleClock: the accelerated clock, the acts and the panel movie's position.
#include "scenes/finale/FinaleClock.h"

#include <algorithm>
#include <cmath>

#include "gfx/MathUtil.h"

namespace finale {

float finaleClock(float b) {
  if (b < kAccelerationStart) return b;
  const float r = remap(b, kAccelerationStart, 124.0f, 0.0f, 4.0f);
  return b + r * r;
}

FinaleAct finaleActAt(float c) {
  if (c < kGalleryStart) return FinaleAct::Tentacles;
  if (c - kGalleryStart < kGalleryLength) return FinaleAct::Gallery;
  return FinaleAct::Black;
}

float panelMoviePosition(float e) {
  if (e > kEndPanelAfter) return 100.0f;
  if (e > kEndLoopFrom) return kEndLoopFrom + std::fmod(e - kEndLoopFrom, 8.0f);
  return e;
}

float endDissolveFade(float e) {
  const float wave = (std::cos(remap(e, kEndPanelAfter, kGalleryLength, 0.0f, 6.28318f)) + 1.0f) / 2.0f;
  return std::min(1.0f, 1.05f - wave);
}

}  // namespace finale
