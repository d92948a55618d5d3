// Voices: oscillators, envelopes and filters of the soundtrack's instruments.
#include "Voices.h"

#include <algorithm>
#include <cmath>

namespace soundtrack {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr float kInvRate = 1.0f / kSampleRate;

// Per-sample factor of an exponential decay with the given time constant.
float decayFactor(float seconds) { return std::exp(-kInvRate / seconds); }

// Band-limited step correction for naive saw and square waves (polyBLEP).
float polyBlep(float t, float dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0f;
  }
  if (t > 1.0f - dt) {
    t = (t - 1.0f) / dt;
    return t * t + t + t + 1.0f;
  }
  return 0.0f;
}

struct Saw {
  float phase = 0.0f, step = 0.0f;
  explicit Saw(double hz, float startPhase = 0.0f) : phase(startPhase), step(float(hz / kSampleRate)) {}
  float next() {
    float value = 2.0f * phase - 1.0f - polyBlep(phase, step);
    phase += step;
    if (phase >= 1.0f) phase -= 1.0f;
    return value;
  }
};

struct Square {
  float phase = 0.0f, step = 0.0f, width = 0.5f;
  Square(double hz, float pulseWidth) : step(float(hz / kSampleRate)), width(pulseWidth) {}
  float next() {
    float value = phase < width ? 1.0f : -1.0f;
    value += polyBlep(phase, step);
    float shifted = phase - width + (phase < width ? 1.0f : 0.0f);
    value -= polyBlep(shifted, step);
    phase += step;
    if (phase >= 1.0f) phase -= 1.0f;
    return value;
  }
};

// Topology-preserving state-variable filter: stable under fast cutoff moves.
struct Svf {
  float a1 = 0, a2 = 0, a3 = 0, k = 1, ic1 = 0, ic2 = 0;
  float low = 0, band = 0;
  void set(float hz, float resonance) {
    hz = std::min(hz, 0.45f * kSampleRate);
    float g = float(std::tan(kPi * hz / kSampleRate));
    k = 2.0f - 2.0f * resonance;
    a1 = 1.0f / (1.0f + g * (g + k));
    a2 = g * a1;
    a3 = g * a2;
  }
  void process(float v0) {
    float v3 = v0 - ic2;
    float v1 = a1 * ic1 + a2 * v3;
    float v2 = ic2 + a2 * ic1 + a3 * v3;
    ic1 = 2.0f * v1 - ic1;
    ic2 = 2.0f * v2 - ic2;
    low = v2;
    band = v1;
  }
  float high(float input) const { return input - k * band - low; }
};

// Attack / sustain / release gain for a held note of `length` samples.
struct HoldEnvelope {
  size_t attack, length, release;
  float at(size_t i) const {
    float gain = i < attack ? float(i) / float(attack) : 1.0f;
    if (i >= length) gain *= 1.0f - float(i - length) / float(release);
    return std::max(gain, 0.0f);
  }
  size_t total() const { return length + release; }
};

void panGains(float pan, float& left, float& right) {
  double angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0) * kPi * 0.25;
  left = float(std::cos(angle));
  right = float(std::sin(angle));
}

size_t clampedEnd(const Bus& bus, size_t start, size_t length) {
  return std::min(bus.frames(), start + length);
}

// The drums never change between hits except in level, so each is rendered
// once at full velocity and mixed in scaled.
struct DrumSample {
  std::vector<float> left, right;
  void addTo(Bus& bus, size_t start, float velocity) const {
    const size_t end = clampedEnd(bus, start, left.size());
    for (size_t i = start; i < end; ++i) {
      bus.left[i] += left[i - start] * velocity;
      bus.right[i] += right[i - start] * velocity;
    }
  }
};

DrumSample makeKick() {
  Noise noise(0x4b1c);
  DrumSample out;
  const size_t length = size_t(0.42 * kSampleRate);
  double phase = 0.0;
  float sweep = 1.0f, body = 1.0f, click = 0.35f;
  const float sweepDecay = decayFactor(0.028f), bodyDecay = decayFactor(0.16f),
              clickDecay = decayFactor(0.0012f);
  for (size_t i = 0; i < length; ++i) {
    float hz = 43.0f + 120.0f * sweep;
    float sample = std::tanh(1.6f * float(std::sin(phase))) * body + noise.next() * click;
    phase += 2.0 * kPi * hz / kSampleRate;
    sweep *= sweepDecay;
    body *= bodyDecay;
    click *= clickDecay;
    out.left.push_back(sample);
    out.right.push_back(sample);
  }
  return out;
}

DrumSample makeSnare() {
  Noise noise(0x5a4e);
  DrumSample out;
  const size_t length = size_t(0.3 * kSampleRate);
  Svf band;
  band.set(2200.0f, 0.35f);
  double phase = 0.0;
  float rattle = 1.0f, tone = 0.6f;
  const float rattleDecay = decayFactor(0.075f), toneDecay = decayFactor(0.045f);
  for (size_t i = 0; i < length; ++i) {
    float white = noise.next();
    band.process(white);
    float sample = (band.band * 1.6f + white * 0.25f) * rattle + float(std::sin(phase)) * tone;
    phase += 2.0 * kPi * 190.0 / kSampleRate;
    rattle *= rattleDecay;
    tone *= toneDecay;
    out.left.push_back(sample * 0.9f);
    out.right.push_back(sample);
  }
  return out;
}

DrumSample makeHat(bool open) {
  Noise noise(open ? 0x0be7 : 0x4a7);
  DrumSample out;
  const size_t length = size_t((open ? 0.35 : 0.08) * kSampleRate);
  Svf filter;
  filter.set(7000.0f, 0.2f);
  float gain = 1.0f;
  const float decay = decayFactor(open ? 0.09f : 0.018f);
  for (size_t i = 0; i < length; ++i) {
    float white = noise.next();
    filter.process(white);
    float sample = filter.high(white) * gain;
    gain *= decay;
    out.left.push_back(sample * 0.7f);
    out.right.push_back(sample);
  }
  return out;
}

DrumSample makeCrash() {
  Noise noiseLeft(0xc0a5), noiseRight(0x5eed);
  DrumSample out;
  const size_t length = size_t(2.6 * kSampleRate);
  Svf left, right;
  left.set(5200.0f, 0.1f);
  right.set(5600.0f, 0.1f);
  float gain = 1.0f;
  const float decay = decayFactor(0.7f);
  for (size_t i = 0; i < length; ++i) {
    float a = noiseLeft.next(), b = noiseRight.next();
    left.process(a);
    right.process(b);
    out.left.push_back(left.high(a) * gain);
    out.right.push_back(right.high(b) * gain);
    gain *= decay;
  }
  return out;
}

}  // namespace

double midiToHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

void kick(Bus& bus, size_t start, float velocity) {
  static const DrumSample sample = makeKick();
  sample.addTo(bus, start, velocity);
}

void snare(Bus& bus, size_t start, float velocity) {
  static const DrumSample sample = makeSnare();
  sample.addTo(bus, start, velocity);
}

void hat(Bus& bus, size_t start, float velocity, bool open) {
  static const DrumSample closedSample = makeHat(false), openSample = makeHat(true);
  (open ? openSample : closedSample).addTo(bus, start, velocity);
}

void crash(Bus& bus, size_t start, float velocity) {
  static const DrumSample sample = makeCrash();
  sample.addTo(bus, start, velocity);
}

void bass(Bus& bus, size_t start, size_t length, int midi, float velocity, float brightness) {
  const double hz = midiToHz(midi);
  Saw saw(hz);
  Square sub(hz * 0.5, 0.5f);
  Svf filter;
  HoldEnvelope envelope{size_t(0.003 * kSampleRate), length, size_t(0.03 * kSampleRate)};
  const size_t end = clampedEnd(bus, start, envelope.total());
  float sweep = 1.0f;
  const float sweepDecay = decayFactor(0.09f);
  const float base = 140.0f + 900.0f * brightness, depth = 500.0f + 2600.0f * brightness;
  for (size_t i = start; i < end; ++i) {
    size_t n = i - start;
    if ((n & 15) == 0) filter.set(base + depth * sweep, 0.55f + 0.3f * brightness);
    filter.process(saw.next() * 0.7f + sub.next() * 0.3f);
    sweep *= sweepDecay;
    float sample = filter.low * envelope.at(n) * velocity;
    bus.left[i] += sample;
    bus.right[i] += sample;
  }
}

void pad(Bus& bus, size_t start, size_t length, const int* notes, int count, float velocity,
         float brightness) {
  HoldEnvelope envelope{size_t(0.25 * kSampleRate), length, size_t(0.6 * kSampleRate)};
  const size_t end = clampedEnd(bus, start, envelope.total());
  // Three detuned saws per note, spread left, centre and right; one filter
  // per side shapes them all.
  static const float detune[3] = {-0.11f, 0.0f, 0.12f};
  std::vector<Saw> saws;
  for (int note = 0; note < count; ++note)
    for (int d = 0; d < 3; ++d) saws.emplace_back(midiToHz(notes[note] + detune[d]), 0.31f * float(d + note));
  Svf left, right;
  const float cutoff = 500.0f + 3500.0f * brightness;
  left.set(cutoff, 0.15f);
  right.set(cutoff, 0.15f);
  const float level = velocity * 0.22f / float(count);
  for (size_t i = start; i < end; ++i) {
    float sideLeft = 0.0f, centre = 0.0f, sideRight = 0.0f;
    for (size_t v = 0; v < saws.size(); v += 3) {
      sideLeft += saws[v].next();
      centre += saws[v + 1].next();
      sideRight += saws[v + 2].next();
    }
    left.process(sideLeft + 0.7f * centre);
    right.process(sideRight + 0.7f * centre);
    float gain = envelope.at(i - start) * level;
    bus.left[i] += left.low * gain;
    bus.right[i] += right.low * gain;
  }
}

void arp(Bus& bus, size_t start, size_t length, int midi, float velocity, float pan) {
  Square pulse(midiToHz(midi), 0.3f);
  Svf filter;
  HoldEnvelope envelope{size_t(0.002 * kSampleRate), length, size_t(0.02 * kSampleRate)};
  const size_t end = clampedEnd(bus, start, envelope.total());
  float gain = velocity, sweep = 1.0f;
  const float decay = decayFactor(0.12f), sweepDecay = decayFactor(0.05f);
  float gainLeft, gainRight;
  panGains(pan, gainLeft, gainRight);
  for (size_t i = start; i < end; ++i) {
    size_t n = i - start;
    if ((n & 15) == 0) filter.set(900.0f + 4500.0f * sweep, 0.4f);
    filter.process(pulse.next());
    float sample = filter.low * gain * envelope.at(n) * 0.5f;
    gain *= decay;
    sweep *= sweepDecay;
    bus.left[i] += sample * gainLeft;
    bus.right[i] += sample * gainRight;
  }
}

void lead(Bus& bus, size_t start, size_t length, int midi, float velocity) {
  const double hz = midiToHz(midi);
  Svf filter;
  HoldEnvelope envelope{size_t(0.008 * kSampleRate), length, size_t(0.12 * kSampleRate)};
  const size_t end = clampedEnd(bus, start, envelope.total());
  float phaseA = 0.0f, phaseB = 0.37f, vibratoPhase = 0.0f, sweep = 1.0f;
  const float sweepDecay = decayFactor(0.25f);
  for (size_t i = start; i < end; ++i) {
    size_t n = i - start;
    float seconds = float(n) * kInvRate;
    // Vibrato fades in after the attack, as a player would add it.
    float depth = std::min(std::max(seconds - 0.18f, 0.0f) * 2.0f, 1.0f) * 0.006f;
    float wobble = 1.0f + depth * std::sin(vibratoPhase);
    vibratoPhase += float(2.0 * kPi * 5.5 / kSampleRate);
    float stepA = float(hz / kSampleRate) * wobble, stepB = stepA * 1.0035f;
    float a = 2.0f * phaseA - 1.0f - polyBlep(phaseA, stepA);
    float b = 2.0f * phaseB - 1.0f - polyBlep(phaseB, stepB);
    phaseA += stepA;
    if (phaseA >= 1.0f) phaseA -= 1.0f;
    phaseB += stepB;
    if (phaseB >= 1.0f) phaseB -= 1.0f;
    if ((n & 15) == 0) filter.set(1300.0f + 3800.0f * sweep, 0.35f);
    filter.process(a + b);
    sweep *= sweepDecay;
    float sample = filter.low * envelope.at(n) * velocity * 0.3f;
    bus.left[i] += sample;
    bus.right[i] += sample;
  }
}

void stab(Bus& bus, size_t start, const int* notes, int count, float velocity) {
  const size_t end = clampedEnd(bus, start, size_t(0.5 * kSampleRate));
  for (int note = 0; note < count; ++note) {
    Saw saw(midiToHz(notes[note] + 12), 0.2f * float(note));
    Svf filter;
    float gain = velocity * 0.35f / float(count), sweep = 1.0f;
    const float decay = decayFactor(0.14f), sweepDecay = decayFactor(0.06f);
    float gainLeft, gainRight;
    panGains(note % 2 ? 0.4f : -0.4f, gainLeft, gainRight);
    for (size_t i = start; i < end; ++i) {
      if (((i - start) & 15) == 0) filter.set(700.0f + 6000.0f * sweep, 0.3f);
      filter.process(saw.next());
      float sample = filter.low * gain;
      gain *= decay;
      sweep *= sweepDecay;
      bus.left[i] += sample * gainLeft;
      bus.right[i] += sample * gainRight;
    }
  }
}

void pingPongDelay(Bus& bus, size_t delaySamples, float feedback) {
  // Each repeat crosses to the other side; the echoes are darkened a little.
  std::vector<float> lineLeft(delaySamples, 0.0f), lineRight(delaySamples, 0.0f);
  float toneLeft = 0.0f, toneRight = 0.0f;
  size_t cursor = 0;
  for (size_t i = 0; i < bus.frames(); ++i) {
    float echoLeft = lineLeft[cursor], echoRight = lineRight[cursor];
    toneLeft += 0.45f * (echoLeft - toneLeft);
    toneRight += 0.45f * (echoRight - toneRight);
    float dryLeft = bus.left[i], dryRight = bus.right[i];
    lineLeft[cursor] = 0.5f * (dryLeft + dryRight) + toneRight * feedback;
    lineRight[cursor] = toneLeft * feedback;
    bus.left[i] = dryLeft + toneLeft;
    bus.right[i] = dryRight + toneRight;
    cursor = cursor + 1 == delaySamples ? 0 : cursor + 1;
  }
}

}  // namespace soundtrack
