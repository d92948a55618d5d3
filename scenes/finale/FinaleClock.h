// FinaleClock: the finale's beat arithmetic, no GL.
//
// The scene runs 132 beats of real time. From beat 108 its own clock runs
// ever faster (c = b + ((b - 108) / 4)^2), so the gallery's 106 beats are
// used up at c = 138, near b = 123.3, and the screen stays black after.
// The tentacle part owns c < 32, the gallery 32 <= c < 138.
#pragma once

namespace finale {

constexpr float kLengthInBeats = 132.0f;
constexpr float kAccelerationStart = 108.0f;
constexpr float kGalleryStart = 32.0f;
constexpr float kGalleryLength = 106.0f;
constexpr float kDistortedPanelsAfter = 80.0f;  // gallery beats
constexpr float kEndPanelAfter = 92.0f;         // gallery beats
constexpr float kEndLoopFrom = 90.0f;           // gallery beats

enum class FinaleAct { Tentacles, Gallery, Black };

// The scene's clock c at real beat b.
float finaleClock(float b);
// The act that clock reading c shows.
FinaleAct finaleActAt(float c);
// The position tentacle.swf is played at, gallery beat e: one frame a
// beat, looping frames 90-98 over gallery beats 90-92, then held on 100.
float panelMoviePosition(float e);
// The distortion's fade over the last panel (gallery beats 92-106): heavy
// at both ends, clear in the middle, never above 1.
float endDissolveFade(float e);

}  // namespace finale
