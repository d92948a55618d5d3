// RhythmAnimation: the four movies rhythm0.swf .. rhythm3.swf that carry the
// beat as hand-animated motion.
//
// The registry makes all four on the request for "Rhythm0", together with
// the three values they share: "verts" (8 floats, the corners of layer 1's
// object), "interp" (2 floats, its position) and "white" (an int flag raised
// by the movies' "white" command). Whichever animation was updated last has
// written "verts" and "interp". Depends on the movie player.
#pragma once

#include <string>
#include <vector>

class swfScript;

using RhythmAnimation = swfScript;

// The "white" frame command: sets *flag to the decimal value of argument 1
// (0 when it is missing or has no digits). Returns 0.
int whiteCommand(int* flag, const std::vector<std::string>& arguments);

// Drives the animation to frame position p (16 frames a beat).
void updateRhythmAnimation(RhythmAnimation* animation, float position);
