// Voices: the soundtrack's instruments, each rendering one note into a
// stereo mix bus.
//
// Everything is plain oscillators, noise and simple filters so the whole
// track renders in well under a second; noise comes from a fixed-seed
// generator so every build makes the same samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace soundtrack {

constexpr int kSampleRate = 44100;

// A stereo float buffer the voices add into.
struct Bus {
  std::vector<float> left, right;
  explicit Bus(size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
  size_t frames() const { return left.size(); }
};

// Deterministic white noise (xorshift); each voice owns one so adding a
// voice never changes the noise another one hears.
class Noise {
 public:
  explicit Noise(uint32_t seed) : state(seed ? seed : 1u) {}
  float next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<float>(state) * (2.0f / 4294967296.0f) - 1.0f;
  }

 private:
  uint32_t state;
};

double midiToHz(double midi);

// Drums: onset exactly at `start` (a sample index); velocity 0..1.
void kick(Bus& bus, size_t start, float velocity);
void snare(Bus& bus, size_t start, float velocity);
void hat(Bus& bus, size_t start, float velocity, bool open);
void crash(Bus& bus, size_t start, float velocity);

// Pitched voices: `length` in samples; the release rings past it.
// `brightness` 0..1 opens the filter.
void bass(Bus& bus, size_t start, size_t length, int midi, float velocity, float brightness);
void pad(Bus& bus, size_t start, size_t length, const int* notes, int count, float velocity,
         float brightness);
void arp(Bus& bus, size_t start, size_t length, int midi, float velocity, float pan);
void lead(Bus& bus, size_t start, size_t length, int midi, float velocity);
void stab(Bus& bus, size_t start, const int* notes, int count, float velocity);

// Stereo feedback delay (ping-pong) applied in place, for the send bus.
void pingPongDelay(Bus& bus, size_t delaySamples, float feedback);

}  // namespace soundtrack
