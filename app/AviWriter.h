// AviWriter: records frames into an AVI file at a fixed frame rate.
//
// Frames are width x height x 4 bytes, BGRA, bottom row first, as the frame
// reader returns them. Frame n of the file shows the show at n / fps.
#pragma once

// Opens the file; false (with a message, nothing written) when it cannot.
bool openAvi(const char* fileName, int fps, int width, int height);
// Adds the soundtrack to the file just opened, sample 0 at the first frame
// (a capture from launch, whose frames start at show time 0). Before the
// first frame only; false, with a line on standard output, when the file
// stays silent.
bool attachAviSoundtrack(const char* soundFile);
// A recording from launch that starts at a later scene: the soundtrack in
// the file starts `seconds` into the music. Before the first frame only.
void startAviSoundtrackAt(double seconds);
// Reads the picture just drawn (the read framebuffer's lower-left
// width x height, as opened) and appends it as the next frame. The read
// lands while the next frame is drawn and the frame is encoded on a worker
// thread; closeAvi() writes what is still on its way. A failure the worker
// met is told by the next call. Does nothing when no file is open.
void captureAviFrame();
// Appends one frame given in memory; does nothing when no file is open.
void addAviFrame(const unsigned char* pixels);
// Off: each frame is read, converted and written within its call, the way
// a pipelined file must match byte for byte. Takes effect at the next open.
void setAviWorker(bool on);
// Finishes and closes the file, the frames still on their way included;
// safe to call when none is open. Needs the GL context a capture read from.
void closeAvi();
// The number the next frame gets: it counts every frame written since the
// process started and is never reset, so a file opened by a later switch-on
// starts at that frame (the gap before it plays as a held picture).
long long aviFrameNumber();
// True once a file of this process could not be created or written whole
// (each failure had its message box).
bool aviRecordingFailed();
