// Score: sections, chords, melodies and drum patterns as tables, and the
// pass that plays them through the voices into the final mix.
#include "Score.h"

#include <cmath>

namespace soundtrack {

namespace {

struct Chord {
  int notes[3];
};

// Four chords, one every four beats: a 16-beat cycle.
struct Progression {
  Chord chords[4];
};

constexpr Chord kAm{{57, 60, 64}}, kF{{53, 57, 60}}, kC{{55, 60, 64}}, kG{{55, 59, 62}},
    kEm{{55, 59, 64}}, kDm{{53, 57, 62}}, kE{{56, 59, 64}};
const Progression kMain{{kAm, kF, kC, kG}};
const Progression kLift{{kF, kG, kEm, kAm}};
const Progression kDark{{kAm, kAm, kDm, kE}};

struct Note {
  float beat, length;
  int midi;
};

// Lead phrases, 16 beats each; a zero length ends the list.
const Note kMelodyA[] = {{0, 2, 76},    {2, 1, 72},  {3, 1, 74},    {4, 1.5f, 72}, {5.5f, 0.5f, 69},
                         {6, 1, 72},    {7, 1, 77},  {8, 2, 76},    {10, 1, 79},   {11, 1, 76},
                         {12, 3, 74},   {15, 1, 71}, {0, 0, 0}};
const Note kMelodyA2[] = {{0, 1.5f, 81}, {1.5f, 0.5f, 79}, {2, 2, 76},  {4, 1, 77},   {5, 1, 76},
                          {6, 2, 72},    {8, 1.5f, 79},    {9.5f, 0.5f, 76}, {10, 1, 72}, {11, 1, 76},
                          {12, 2, 74},   {14, 1, 71},      {15, 1, 74}, {0, 0, 0}};
const Note kMelodyB[] = {{0, 1, 69},    {1, 1, 72},  {2, 2, 77},    {4, 1, 74},   {5, 1, 71},
                         {6, 2, 79},    {8, 1.5f, 76}, {9.5f, 0.5f, 74}, {10, 2, 71}, {12, 2, 72},
                         {14, 2, 69},   {0, 0, 0}};
const Note kMelodyC[] = {{0, 1, 76},    {1, 1, 72},  {2, 2, 69},    {4, 0.5f, 76}, {4.5f, 0.5f, 77},
                         {5, 1, 76},    {6, 2, 72},  {8, 1, 74},    {9, 1, 77},    {10, 2, 81},
                         {12, 2, 80},   {14, 1, 76}, {15, 1, 71},   {0, 0, 0}};

enum class Hats { None, Offbeat, Sixteenths };
enum class BassLine { Long, Offbeat, Rolling };
enum class Arp { None, Eighths, Sixteenths };

// One row per scene; melodies cycle per 16-beat phrase (null: no lead).
struct Section {
  int startBeat, endBeat;
  const Progression* progression;
  bool snare;
  Hats hats;
  BassLine bassLine;
  Arp arp;
  float padLevel;
  float brightnessStart, brightnessEnd;
  const Note* melodies[8];
};

const Section kSections[] = {
    // opening: kick, pads opening up, a quiet arpeggio
    {0, 32, &kMain, false, Hats::Offbeat, BassLine::Long, Arp::Eighths, 1.0f, 0.05f, 0.5f, {}},
    // plane and scroller: the groove arrives
    {32, 64, &kMain, true, Hats::Offbeat, BassLine::Offbeat, Arp::Eighths, 0.8f, 0.5f, 0.6f, {}},
    // line cube: the lead enters
    {64, 96, &kMain, true, Hats::Sixteenths, BassLine::Offbeat, Arp::Sixteenths, 0.7f, 0.6f, 0.8f,
     {kMelodyA, kMelodyA2}},
    // tunnel: rolling bass, the filter opening all the way
    {96, 128, &kMain, true, Hats::Sixteenths, BassLine::Rolling, Arp::Sixteenths, 0.5f, 0.3f, 1.0f,
     {}},
    // greetings: lighter, a new progression and tune
    {128, 160, &kLift, true, Hats::Offbeat, BassLine::Long, Arp::Eighths, 1.0f, 0.6f, 0.6f,
     {kMelodyB, kMelodyB}},
    // credits
    {160, 224, &kMain, true, Hats::Sixteenths, BassLine::Offbeat, Arp::Sixteenths, 0.8f, 0.7f, 0.7f,
     {kMelodyA, kMelodyA2, kMelodyB, kMelodyA2}},
    // bug swarm: darker, acid bass, the tune only in the second half
    {224, 320, &kDark, true, Hats::Sixteenths, BassLine::Rolling, Arp::Sixteenths, 0.6f, 0.2f, 1.0f,
     {nullptr, nullptr, nullptr, kMelodyC, kMelodyC, kMelodyC}},
    // finale: everything, the tune doubled an octave up in its second half
    {320, 452, &kMain, true, Hats::Sixteenths, BassLine::Offbeat, Arp::Sixteenths, 1.0f, 0.7f, 1.0f,
     {kMelodyA, kMelodyA2, kMelodyA, kMelodyA2, kMelodyB, kMelodyA2, kMelodyA, kMelodyA2}},
};

constexpr int kAccentEvery = 8;
const double kSamplesPerBeat = kSampleRate * 60.0 / kBeatsPerMinute;

size_t beatLength(double beats) { return size_t(std::llround(beats * kSamplesPerBeat)); }

int bassRoot(const Chord& chord) { return 36 + (chord.notes[0] - 36) % 12; }

// The bus names say what they feed: the delay send and the kick's ducking.
struct Mix {
  Bus drums, bass, ducked, send;
  explicit Mix(size_t frames) : drums(frames), bass(frames), ducked(frames), send(frames) {}
};

void playDrums(Mix& mix, const Section& s, int beat) {
  const size_t at = beatToSample(beat);
  kick(mix.drums, at, 1.0f);
  if (beat % kAccentEvery == 0) crash(mix.drums, at, beat == 0 ? 0.18f : 0.28f);
  if (s.snare && beat % 2 == 1) snare(mix.drums, at, 0.55f);
  if (s.hats != Hats::None) hat(mix.drums, beatToSample(beat + 0.5), 0.35f, s.hats == Hats::Sixteenths);
  if (s.hats == Hats::Sixteenths) {
    hat(mix.drums, beatToSample(beat + 0.25), 0.15f, false);
    hat(mix.drums, beatToSample(beat + 0.75), 0.18f, false);
  }
  // A fill leads into every section change; the finale builds for four beats.
  const bool lastBeat = beat == s.endBeat - 1;
  const bool finaleBuild = s.endBeat == kShowBeats && beat >= kShowBeats - 4;
  if ((lastBeat && s.snare) || finaleBuild) {
    for (int k = 0; k < 4; ++k) {
      float rise = finaleBuild ? 0.25f + 0.15f * float(beat - (kShowBeats - 4)) : 0.3f;
      snare(mix.drums, beatToSample(beat + 0.25 * k), rise + 0.08f * k);
    }
  }
}

void playBass(Mix& mix, const Section& s, int beat, const Chord& chord, float brightness) {
  const int root = bassRoot(chord);
  const int inBar = (beat - s.startBeat) % 4;
  switch (s.bassLine) {
    case BassLine::Long:
      if (inBar == 0) bass(mix.bass, beatToSample(beat), beatLength(1.75), root, 0.7f, brightness * 0.5f);
      if (inBar == 2) bass(mix.bass, beatToSample(beat + 0.5), beatLength(1.3), root, 0.6f, brightness * 0.5f);
      break;
    case BassLine::Offbeat:
      bass(mix.bass, beatToSample(beat + 0.5), beatLength(0.4), inBar == 3 ? root + 12 : root, 0.75f,
           brightness);
      break;
    case BassLine::Rolling: {
      static const int offsets[3] = {0, 12, 0};
      for (int k = 1; k < 4; ++k)
        bass(mix.bass, beatToSample(beat + 0.25 * k), beatLength(0.2), root + offsets[k - 1], 0.65f,
             brightness);
      break;
    }
  }
}

void playArp(Mix& mix, const Section& s, int beat, const Chord& chord) {
  if (s.arp == Arp::None) return;
  const int steps = s.arp == Arp::Eighths ? 2 : 4;
  const int tones[6] = {chord.notes[0] + 12, chord.notes[1] + 12, chord.notes[2] + 12,
                        chord.notes[0] + 24, chord.notes[2] + 12, chord.notes[1] + 12};
  const float level = s.arp == Arp::Eighths ? 0.35f : 0.3f;
  for (int k = 0; k < steps; ++k) {
    int index = (beat - s.startBeat) * steps + k;
    arp(mix.send, beatToSample(beat + double(k) / steps), beatLength(0.9 / steps), tones[index % 6],
        level, index % 2 ? 0.55f : -0.55f);
  }
}

void playMelody(Mix& mix, const Section& s, int phraseStart, int phraseIndex) {
  const Note* melody = s.melodies[phraseIndex % 8];
  if (!melody) return;
  // The finale's second half doubles the tune an octave up, quieter.
  const bool doubled = s.endBeat == kShowBeats && phraseIndex >= 4;
  for (const Note* n = melody; n->length > 0; ++n) {
    double start = phraseStart + n->beat;
    if (start >= s.endBeat) break;
    lead(mix.send, beatToSample(start), beatLength(n->length * 0.92), n->midi, 0.8f);
    if (doubled) lead(mix.send, beatToSample(start), beatLength(n->length * 0.92), n->midi + 12, 0.3f);
  }
}

void playSection(Mix& mix, const Section& s) {
  for (int beat = s.startBeat; beat < s.endBeat; ++beat) {
    const int local = beat - s.startBeat;
    const float progress = float(local) / float(s.endBeat - s.startBeat);
    const float brightness = s.brightnessStart + (s.brightnessEnd - s.brightnessStart) * progress;
    const Chord& chord = s.progression->chords[(local / 4) % 4];
    playDrums(mix, s, beat);
    playBass(mix, s, beat, chord, brightness);
    playArp(mix, s, beat, chord);
    if (local % 4 == 0)
      pad(mix.ducked, beatToSample(beat), beatLength(3.9), chord.notes, 3, s.padLevel, brightness);
    if (beat % kAccentEvery == 0 && beat > 0) stab(mix.ducked, beatToSample(beat), chord.notes, 3, 0.8f);
    if (local % 16 == 0) playMelody(mix, s, beat, local / 16);
  }
}

// The last hit at beat 452 and the chord that rings out over the tail.
void playEnding(Mix& mix) {
  const size_t at = beatToSample(kShowBeats);
  kick(mix.drums, at, 1.0f);
  crash(mix.drums, at, 0.35f);
  stab(mix.ducked, at, kAm.notes, 3, 1.0f);
  pad(mix.ducked, at, beatLength(5.0), kAm.notes, 3, 1.2f, 0.6f);
  bass(mix.bass, at, beatLength(3.0), bassRoot(kAm), 0.8f, 0.3f);
  lead(mix.send, at, beatLength(3.5), 81, 0.7f);
}

// Gain that dips after every kick, so bass, pads and echoes breathe with
// the beat.
float duckGain(size_t frame) {
  double beats = double(frame) / kSamplesPerBeat;
  double since = (beats - std::floor(beats)) * 60.0 / kBeatsPerMinute;
  if (beats >= kShowBeats + 1) return 1.0f;
  return float(1.0 - 0.55 * std::exp(-since / 0.09));
}

}  // namespace

size_t beatToSample(double beat) { return size_t(std::llround(beat * kSamplesPerBeat)); }

Bus renderSoundtrack() {
  const size_t frames = beatToSample(kShowBeats + kTailBeats);
  Mix mix(frames);
  for (const Section& section : kSections) playSection(mix, section);
  playEnding(mix);
  pingPongDelay(mix.send, beatLength(0.75), 0.38f);

  Bus out(frames);
  const size_t fadeStart = beatToSample(kShowBeats + kTailBeats - 1);
  for (size_t i = 0; i < frames; ++i) {
    float duck = duckGain(i);
    float fade = i < fadeStart ? 1.0f : float(frames - i) / float(frames - fadeStart);
    for (int side = 0; side < 2; ++side) {
      auto pick = [&](Bus& b) { return side ? b.right[i] : b.left[i]; };
      // The bass ducks too, so every kick punches through it.
      float x = 0.62f * pick(mix.drums) + duck * (0.55f * pick(mix.bass) + 0.9f * pick(mix.ducked) +
                                                  0.5f * pick(mix.send));
      // Soft limiter: transparent at normal levels, no hard clipping on peaks.
      float y = x / std::sqrt(1.0f + x * x * 0.6f);
      (side ? out.right[i] : out.left[i]) = y * 0.95f * fade;
    }
  }
  return out;
}

}  // namespace soundtrack
