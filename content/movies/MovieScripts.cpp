// MovieScripts: the show's movies as data (see the header). Frame timings
// follow how each scene drives its movie: the rhythm movies and bars at 16
// frames a beat, plane.swf at 4, end.swf at 8, bug.swf and tentacle.swf at
// one frame a beat, linecube.swf by the rhythm level times 10.
#include "MovieScripts.h"

#include <algorithm>
#include <cmath>

namespace movies {

namespace {

const int kFramesPerBeat = 16;  // rhythm movies and bars

// A push of the rhythm marker: it leaves on `frame` (the beat) and has
// moved `pixels` further `length` frames later, easing out.
struct Push {
  int frame;
  float pixels;
  int length;
};

// Per rhythm movie, the pushes of one 8-beat loop; each adds up to 600
// pixels so the rhythm level runs from 0 to about 1.
std::vector<Push> rhythmPushes(int i) {
  std::vector<Push> pushes;
  for (int beat = 0; beat < 8; ++beat) {
    const int f = beat * kFramesPerBeat;
    switch (i) {
      case 0:  // a steady push on every beat
        pushes.push_back({f, 75.0f, 4});
        break;
      case 1:  // beat and off-beat
        pushes.push_back({f, 50.0f, 2});
        pushes.push_back({f + 8, 25.0f, 2});
        break;
      case 2:  // sixteenths, the beat itself heavier
        pushes.push_back({f, 30.0f, 2});
        for (int s = 1; s < 4; ++s) pushes.push_back({f + 4 * s, 15.0f, 2});
        break;
      default:  // accents on beats 1 and 5 of the loop
        pushes.push_back({f, (beat % 4 == 0) ? 120.0f : 60.0f, (beat % 4 == 0) ? 6 : 3});
        break;
    }
  }
  return pushes;
}

LayerFrame hidden() {
  LayerFrame f;
  f.alpha = 0.0f;
  return f;
}

LayerTrack channelTrack(int depth, int frameCount) {
  LayerTrack track;
  track.depth = depth;
  track.shape.width = 32;
  track.shape.height = 24;
  // Each channel its own colour, so the tracks can be told apart.
  const unsigned char tints[4][3] = {{255, 255, 255}, {0, 255, 0}, {128, 255, 128}, {255, 255, 0}};
  const unsigned char* tint = tints[(depth - 1) % 4];
  track.shape.r = tint[0];
  track.shape.g = tint[1];
  track.shape.b = tint[2];
  track.frames.assign(frameCount, hidden());
  for (LayerFrame& f : track.frames) f.x = 40.0f + 80.0f * depth, f.y = 200.0f;
  return track;
}

// Switches a channel on over [first, last] with the given alpha per frame;
// the frame it comes on is a cut.
template <typename Level>
void channelOn(LayerTrack& track, int first, int last, Level level) {
  for (int f = first; f <= last && f < static_cast<int>(track.frames.size()); ++f) {
    const bool wasOff = f == 0 || track.frames[f - 1].alpha <= 0.0f;
    track.frames[f].alpha = level(f - first);
    track.frames[f].cut = wasOff;
  }
}

MovieScript rhythmMovie(int i) {
  MovieScript m;
  m.name = "rhythm" + std::to_string(i) + ".swf";
  m.frameCount = 8 * kFramesPerBeat;
  m.frameRate = 35;  // 16 frames a beat at 130 beats a minute
  LayerTrack track;
  track.depth = 1;
  track.shape.withAlpha = false;  // DefineShape: plain RGB
  track.shape.width = 16;
  track.shape.height = 480;
  for (int f = 0; f < m.frameCount; ++f) {
    LayerFrame frame;
    frame.x = rhythmX(i, f);
    track.frames.push_back(frame);
  }
  m.layers.push_back(track);
  // The accent: the first beat of the loop flashes white for a quarter beat.
  m.commands.push_back({0, "white,1", CommandForm::GetUrl});
  m.commands.push_back({4, "white,0", CommandForm::FsCommand});
  return m;
}

MovieScript barMovie(int i) {
  MovieScript m;
  m.name = "bar" + std::to_string(i) + ".swf";
  m.frameCount = 4 * kFramesPerBeat;
  m.frameRate = 35;
  for (int depth = 1; depth <= 4; ++depth) m.layers.push_back(channelTrack(depth, m.frameCount));
  auto fade = [](float from, float to, int frames) {
    return [=](int i) { return from + (to - from) * static_cast<float>(i) / frames; };
  };
  if (i == 0) {
    // One view a beat, in turn.
    for (int k = 0; k < 4; ++k)
      channelOn(m.layers[k], k * kFramesPerBeat, (k + 1) * kFramesPerBeat - 1, fade(1.0f, 0.5f, 16));
  } else if (i == 1) {
    // Half-beat cuts between the pairs 1+3 and 2+4; all four on the last.
    for (int s = 0; s < 8; ++s) {
      for (int k = 0; k < 4; ++k) {
        const bool on = s == 7 || (s % 2 == 0) == (k % 2 == 0);
        if (on) channelOn(m.layers[k], s * 8, s * 8 + 7, fade(1.0f, 0.75f, 8));
      }
    }
  } else {
    // A build: one more view each beat, stuttering in sixteenths.
    for (int beat = 0; beat < 4; ++beat)
      for (int k = 0; k <= beat; ++k)
        for (int s = 0; s < 4; ++s) {
          const int first = beat * kFramesPerBeat + s * 4;
          channelOn(m.layers[k], first, first + 2, fade(1.0f, 0.4f, 2));
        }
  }
  return m;
}

MovieScript bar3Movie() {
  MovieScript m;
  m.name = "bar3.swf";
  m.frameCount = 8 * kFramesPerBeat;
  m.frameRate = 35;
  m.layers.push_back(channelTrack(1, m.frameCount));
  // A pulse on every beat of the footprint act, doubled in its last two.
  auto decay = [](int i) { return 1.0f - static_cast<float>(i) / 8.0f; };
  for (int beat = 0; beat < 8; ++beat) {
    const int f = beat * kFramesPerBeat;
    channelOn(m.layers[0], f, f + 7, decay);
    if (beat >= 6) channelOn(m.layers[0], f + 8, f + 15, decay);
  }
  return m;
}

MovieScript planeMovie() {
  MovieScript m;
  m.name = "plane.swf";
  m.frameCount = 128;  // four frames a beat over the scene's 32 beats
  m.frameRate = 9;
  for (int depth = 1; depth <= 4; ++depth) m.layers.push_back(channelTrack(depth, m.frameCount));
  // Four beats per cut; each view pulses with the beat.
  const std::vector<std::vector<int>> cuts = {{1}, {2}, {3}, {4}, {1, 2}, {3, 4}, {1, 2, 3, 4}};
  auto pulse = [](int i) { return 1.0f - 0.4f * static_cast<float>(i % 4) / 4.0f; };
  for (size_t c = 0; c < cuts.size(); ++c)
    for (int k : cuts[c]) channelOn(m.layers[k - 1], static_cast<int>(c) * 16, static_cast<int>(c) * 16 + 15, pulse);
  // The last four beats: views 1-3 fade out over two beats while view 4,
  // whose camera closes in on the loops, stays on to the end (the scene
  // dims the grid itself).
  for (int k = 0; k < 3; ++k)
    channelOn(m.layers[k], 112, 119, [](int i) { return 1.0f - static_cast<float>(i) / 8.0f; });
  channelOn(m.layers[3], 112, 127, [](int) { return 1.0f; });
  return m;
}

MovieScript linecubeMovie() {
  MovieScript m;
  m.name = "linecube.swf";
  m.frameCount = 10;  // driven by the rhythm level times 10
  m.frameRate = 12;
  for (int depth = 1; depth <= 4; ++depth) m.layers.push_back(channelTrack(depth, m.frameCount));
  const std::vector<std::vector<int>> views = {{1}, {1, 2}, {2}, {2, 3}, {3},
                                               {3, 4}, {4}, {4, 1}, {1, 3}, {2, 4}};
  for (int f = 0; f < m.frameCount; ++f)
    for (int k : views[f]) channelOn(m.layers[k - 1], f, f, [](int) { return 1.0f; });
  return m;
}

MovieScript endMovie() {
  MovieScript m;
  m.name = "end.swf";
  m.frameCount = 48;  // eight frames a beat, six beats
  m.frameRate = 17;
  for (int depth = 1; depth <= 2; ++depth) m.layers.push_back(channelTrack(depth, m.frameCount));
  // Half-beat flashes that die away, the two models taking turns: t-rov on
  // beats 0 and 3 of the loop, qz5 on the offbeats 1.5 and 4.5.
  auto flash = [](int i) { return 1.0f - static_cast<float>(i) / 4.0f; };
  for (int f : {0, 24}) channelOn(m.layers[0], f, f + 3, flash);
  for (int f : {12, 36}) channelOn(m.layers[1], f, f + 3, flash);
  return m;
}

// A movie that only carries commands still holds an object, so it is a
// movie like the others.
void addMarker(MovieScript& m) {
  LayerTrack track = channelTrack(1, m.frameCount);
  for (LayerFrame& f : track.frames) f.alpha = 1.0f;
  m.layers.push_back(track);
}

void addCameraCuts(MovieScript& m, const std::vector<std::pair<int, std::string>>& cuts) {
  for (size_t i = 0; i < cuts.size(); ++i)
    m.commands.push_back({cuts[i].first, "setCamera," + cuts[i].second,
                          i % 2 == 0 ? CommandForm::GetUrl : CommandForm::FsCommand});
}

MovieScript bugMovie() {
  MovieScript m;
  m.name = "bug.swf";
  m.frameCount = 96;  // one frame a beat, played once
  m.frameRate = 2;
  addMarker(m);
  addCameraCuts(m, {{0, "Camera01"}, {16, "Camera02"}, {28, "under"}, {40, "hunder"},
                    {48, "Camera02"}, {56, "Camera03"}, {80, "Camera02"}});
  return m;
}

MovieScript tentacleMovie() {
  MovieScript m;
  m.name = "tentacle.swf";
  m.frameCount = 101;  // one frame a beat from the gallery's start
  m.frameRate = 2;
  addMarker(m);
  addCameraCuts(m, {{0, "Camera0"}, {8, "cap0"}, {16, "inside"}, {24, "cap1"}, {32, "circle"},
                    {40, "cap2"}, {48, "uptop"}, {56, "cap3"}, {60, "cap4"}, {64, "Camera0"},
                    {68, "cap5"}, {72, "inside"}, {76, "cap6"}, {80, "circle"}, {84, "cap7"},
                    {88, "uptop"}, {96, "cap8"}});
  return m;
}

// The title card movies: shapes that come and go, half-transparent ones
// among them. The show does not play them.
MovieScript titleMovie(const std::string& name, int frameCount, int layerCount) {
  MovieScript m;
  m.name = name;
  m.frameCount = frameCount;
  m.frameRate = 25;
  for (int depth = 1; depth <= layerCount; ++depth) {
    LayerTrack track = channelTrack(depth, frameCount);
    track.shape.a = depth % 2 ? 255 : 128;
    for (int f = 0; f < frameCount; ++f) {
      LayerFrame& frame = track.frames[f];
      frame.present = ((f / 6) + depth) % 3 != 0;
      frame.alpha = 1.0f;
      frame.x = 100.0f * depth + 4.0f * f;
      frame.y = 60.0f * depth;
    }
    m.layers.push_back(track);
  }
  return m;
}

}  // namespace

float rhythmX(int i, int f) {
  float x = 0.0f;
  for (const Push& p : rhythmPushes(i)) {
    float u = std::min(1.0f, std::max(0.0f, static_cast<float>(f - p.frame) / p.length));
    x += p.pixels * (1.0f - (1.0f - u) * (1.0f - u));
  }
  return x;
}

std::vector<MovieScript> showMovies() {
  return {barMovie(0),        barMovie(1),      barMovie(2),   bar3Movie(),
          bugMovie(),         endMovie(),       linecubeMovie(), planeMovie(),
          rhythmMovie(0),     rhythmMovie(1),   rhythmMovie(2), rhythmMovie(3),
          tentacleMovie(),    titleMovie("titlescene.swf", 48, 3),
          titleMovie("VS.swf", 24, 2)};
}

}  // namespace movies
