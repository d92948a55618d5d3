// ReferenceFrames: the small stored frames the suite compares each finished
// scene against, and how a frame is judged to match one.
//
// A reference is the frame at one beat, shrunk by kReferenceShrink (each
// pixel the mean of a block), so a line moved by a pixel or two still
// matches while a change of brightness, width, camera or timing does not.
#pragma once

#include <string>
#include <vector>

#include "tools/sceneplayer/PngImage.h"

class ScenePlayer;

const int kReferenceShrink = 4;

// "beat06.50.png" for beat 6.5; the beat is read back from the name.
std::string referenceFileName(float beat);
// "scene0_beat06.50.png".
std::string frameFileName(int scene, float beat);
// The beats of the reference files in `dir`, ascending (none when the
// folder is missing).
std::vector<float> referenceBeatsIn(const std::string& dir);

// Plays the player's scene and returns the frames at the given beats, in
// ascending beat order (each the first frame at or after its beat, at 30
// frames a second); fewer when the scene ends first.
std::vector<RgbImage> captureAtBeats(ScenePlayer& player, std::vector<float> beats);

struct FrameDifference {
  double meanAbsolute = 0.0;   // mean over all channels, 0..255
  double changedShare = 0.0;   // share of pixels with a channel off by more than kChangedBy
  double lightChange = 0.0;    // relative change of the frame's summed light
  bool sameSize = true;
};
const int kChangedBy = 24;

FrameDifference compareFrames(const RgbImage& a, const RgbImage& b);
// Within tolerance: same size, mean difference at most 1.0, at most 0.5% of
// the pixels changed and the summed light within 3%. The last catches a
// dim scene made brighter or darker all over (fog, glow passes), which
// moves every pixel a little and none by much.
bool framesMatch(const FrameDifference& difference);
