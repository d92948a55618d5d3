// WatchKeys: the keys a viewer watches the live show with. Space pauses and
// resumes picture and music together; the left and right arrows jump back
// and forward by 4 beats, across scene boundaries, and print where the show
// landed. A recording from the start runs on its own clock and ignores them.
#pragma once

// Beats one arrow press moves the show.
constexpr float kWatchJumpBeats = 4.0f;

// Acts on the watch-key presses the loop counted since the last frame, once
// per press, even for a key pressed and released between two frames.
void runWatchKeys();

// Forgets the watch-key presses not yet acted on (with the key table).
void clearWatchKeys();
