// CreditsCamera: where the credits scene looks from.
//
// The four cameras the block field is cut between (chosen by the beat
// within each twelve-beat bar group), and the ending's swing from straight
// above the field to a low view across it. Plain arithmetic, no GL: the
// scene loads the matrices these give.
#pragma once

#include "gfx/Vec3.h"

// A look-at camera: eye, the point it looks at and its up direction.
struct CreditsView {
  Vec3 eye;
  Vec3 centre;
  Vec3 up;
};

// The ending's camera at progress x (0..1): the rotation part of the view
// (column-major, applied before the translation by -eye) and the eye.
struct EndingView {
  float rotation[16];
  Vec3 eye;
  float fieldOfView;  // degrees
};

// Which of the four cameras beat b uses: 0 circles high above the field,
// 1 looks in from a corner, 2 sways along the far side, 3 looks straight
// down. Each twelve beats repeat the cut: 4, 2, 4 and 2 beats.
int creditsCameraIndex(float b);

// The camera at beat b, local time t (seconds) and the orbit angle driven
// by the block clock; every camera looks at (0, 5, 0).
CreditsView creditsCamera(float b, float t, float orbitAngle);

// The rotation part of the look-at view `view` (rows side, up, back).
void creditsViewRotation(const CreditsView& view, float m[16]);

// The ending's two views: A straight down on the field, B low across it.
CreditsView endingViewA();
CreditsView endingViewB();

// The ending's view at x: the rotation turned from A to B along the
// shortest arc, the eye moved in a straight line, the field of view
// widened from 45 to 60 degrees.
EndingView endingView(float x);

// Progress of the ending at beat b: 0 at beat 56, 1 from beat 64 on.
float endingProgress(float b);
