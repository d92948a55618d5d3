// MusicStream: silent until the audio layer lands; the show runs on its
// own timer.
#include "show/MusicStream.h"

struct MusicStream::Impl {};

MusicStream::MusicStream() = default;
MusicStream::~MusicStream() = default;
void MusicStream::open(const char*) {}
void MusicStream::unpause() {}
void MusicStream::seek(int) {}
int MusicStream::positionMs() { return 0; }
float MusicStream::positionSeconds() { return 0.0f; }
bool MusicStream::isOpen() const { return false; }
