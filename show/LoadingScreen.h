// LoadingScreen: the loading sequence run once the show object exists —
// the loading picture with its progress bar while the scenes are made,
// a pause, then the jump to the start scene.
#pragma once

class Demo;

// Draws the loading picture and the bar for progress value x (0..9 and a
// bit: the bar is full at x + 1 = 10), then presents the frame.
void drawProgressFrame(float x);

// Runs the whole sequence; pauseMs is the wait after loading (3000 in the
// show).
void runLoadingSequence(Demo& demo, int startScene, unsigned pauseMs = 3000);
