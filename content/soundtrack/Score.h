// Score: the arrangement of the show's soundtrack, section by section.
//
// 130 beats per minute; the sections change at the show's scene boundaries
// (beats 0, 32, 64, 96, 128, 160, 224, 320) and the show ends on a last hit at
// beat 452 that rings through a tail. The kick is on every beat, and beat 0's
// kick starts on sample 0. Accents (crash and chord stab) fall on every beat
// that is a multiple of 8: the first beat of each 8-beat rhythm loop.
#pragma once

#include "Voices.h"

namespace soundtrack {

constexpr double kBeatsPerMinute = 130.0;
constexpr int kShowBeats = 452;
constexpr int kTailBeats = 8;

// Sample index at which a beat starts.
size_t beatToSample(double beat);

// Renders the whole track, mixed and limited to -1..1.
Bus renderSoundtrack();

}  // namespace soundtrack
