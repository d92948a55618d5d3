// The archive's movies, as written by the movie writer, read back by the
// show's own reader and played: every frame must hold what the writer's
// script meant, and each movie what its scene needs.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <set>

#include "MovieScripts.h"
#include "show/ResourceRegistry.h"
#include "swf/swfScript.h"

using movies::MovieScript;

namespace {

std::vector<unsigned char> readContent(const std::string& name) {
  std::ifstream in(std::string(ZOLT_CONTENT_DIR) + "/" + name, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

const MovieScript& script(const std::string& name) {
  static const std::vector<MovieScript> all = movies::showMovies();
  for (const MovieScript& m : all)
    if (m.name == name) return m;
  throw std::runtime_error("no script " + name);
}

// Commands (as written) fired per frame while stepping a movie frame by frame.
std::vector<std::vector<std::string>> commandsByFrame(SwfMovie& movie, const MovieScript& m) {
  std::vector<std::vector<std::string>> fired(m.frameCount);
  int frame = 0;
  std::set<std::string> names;
  for (const auto& c : m.commands) names.insert(c.text.substr(0, c.text.find(',')));
  for (const std::string& name : names)
    movie.registerCommand(name, [&](SwfMovie*, SwfArguments args) {
      std::string text;
      for (size_t i = 0; i < args.size(); ++i) text += (i ? "," : "") + args[i];
      fired[frame].push_back(text);
      return 0;
    });
  for (frame = 0; frame < m.frameCount; ++frame) movie.update(frame);
  return fired;
}

// A rhythm movie's level at position p, as the scenes compute it.
struct RhythmProbe {
  float verts[8] = {}, interp[2] = {};
  int white = -1;
  std::unique_ptr<swfScript> player;
  explicit RhythmProbe(const std::vector<unsigned char>& bytes)
      : player(std::make_unique<swfScript>(bytes.data(), true, bytes.size())) {
    player->requestPosition(1, interp);
    player->requestCorners(1, verts);
    player->registerCommand("white", [this](SwfMovie*, SwfArguments args) {
      white = swfArgumentToInt(args.size() > 1 ? args[1] : "");
      return 0;
    });
  }
  float level(double p) {
    player->update(p);
    return (verts[0] + interp[0] + 0.5f) / 640.0f;
  }
};

}  // namespace

class MovieArchive : public testing::TestWithParam<std::string> {};

TEST_P(MovieArchive, ReadsBackAsTheWriterMeant) {
  const MovieScript& m = script(GetParam());
  std::vector<unsigned char> bytes = readContent(m.name);
  ASSERT_FALSE(bytes.empty()) << m.name;
  SwfMovie movie(bytes.data(), bytes.size());
  ASSERT_TRUE(movie.loaded);
  EXPECT_EQ(movie.frameCount, m.frameCount);
  EXPECT_EQ(movie.frames.size(), static_cast<size_t>(m.frameCount) + 1);
  EXPECT_EQ(movie.stageWidth, 640);
  EXPECT_EQ(movie.stageHeight, 480);
  EXPECT_EQ(movie.frameRate, m.frameRate);

  for (size_t i = 0; i < m.layers.size(); ++i) {
    const movies::ShapeSpec& s = m.layers[i].shape;
    ASSERT_EQ(movie.dictionary.count(static_cast<int>(i) + 1), 1u);
    const SwfCharacter& shape = *movie.dictionary.at(static_cast<int>(i) + 1);
    EXPECT_EQ(shape.kind, kSwfShape);
    EXPECT_FLOAT_EQ(shape.width, static_cast<float>(s.width));
    EXPECT_FLOAT_EQ(shape.corners[2].x, s.width * 20.0f);
    EXPECT_FLOAT_EQ(shape.colour[1], s.g / 255.0f);
    EXPECT_FLOAT_EQ(shape.colour[3], s.withAlpha ? s.a / 255.0f : 1.0f);
  }

  std::vector<std::vector<std::string>> fired = commandsByFrame(movie, m);
  SwfMovie player(bytes.data(), bytes.size());
  for (int f = 0; f < m.frameCount; ++f) {
    player.update(f);
    std::vector<std::string> meant;
    for (const auto& c : m.commands)
      if (c.frame == f) meant.push_back(c.text);
    EXPECT_EQ(fired[f], meant) << m.name << " frame " << f;
    for (const movies::LayerTrack& track : m.layers) {
      const movies::LayerFrame& want = track.frames[f];
      const auto& instances = player.layers[track.depth].instances;
      if (!want.present) {
        EXPECT_TRUE(instances.empty()) << m.name << " frame " << f;
        continue;
      }
      ASSERT_EQ(instances.size(), 1u) << m.name << " frame " << f << " depth " << track.depth;
      const SwfCharacter& object = *instances[0];
      EXPECT_NEAR(object.translation[0], want.x, 0.026) << m.name << " frame " << f;
      EXPECT_NEAR(object.translation[1], want.y, 0.026);
      const float shapeAlpha = track.shape.withAlpha ? track.shape.a / 255.0f : 1.0f;
      EXPECT_NEAR(object.transformedColour[3], shapeAlpha * want.alpha, 0.5f / 256.0f + 1e-5f)
          << m.name << " frame " << f << " depth " << track.depth;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    AllFifteen, MovieArchive,
    testing::Values("bar0.swf", "bar1.swf", "bar2.swf", "bar3.swf", "bug.swf", "end.swf",
                    "linecube.swf", "plane.swf", "rhythm0.swf", "rhythm1.swf", "rhythm2.swf",
                    "rhythm3.swf", "tentacle.swf", "titlescene.swf", "VS.swf"),
    [](const testing::TestParamInfo<std::string>& info) {
      std::string name = info.param.substr(0, info.param.find('.'));
      return name;
    });

TEST(MovieArchiveContent, RhythmLevelsClimbInPushesOnTheBeatAndFlashOnTheAccent) {
  for (int i = 0; i < 4; ++i) {
    RhythmProbe probe(readContent("rhythm" + std::to_string(i) + ".swf"));
    EXPECT_LT(probe.level(0.0), 0.02f) << i;
    EXPECT_EQ(probe.white, 1) << i;
    float previous = 0.0f;
    for (int f = 0; f < 128; ++f) {
      float level = probe.level(f + 0.5);
      EXPECT_GE(level + 1e-5f, previous) << "rhythm" << i << " frame " << f;
      previous = level;
      if (f == 6) {
        EXPECT_EQ(probe.white, 0) << i;
      }
    }
    EXPECT_GT(probe.level(127.0), 0.95f) << i;
    // Each beat opens with movement; the last frames of a beat are still.
    for (int beat = 0; beat < 8; ++beat) {
      // Positions only go forward here: going back restarts the movie.
      const int f = beat * 16;
      const float before = probe.level(f);
      const float after = probe.level(f + 1.0);
      EXPECT_GT(after - before, 0.01f) << i << " beat " << beat;
      const float late = probe.level(f + 14.0);
      EXPECT_NEAR(probe.level(f + 15.0), late, 1e-5f) << i << " beat " << beat;
    }
    // A beat position of 8 beats is animation position 0 again.
    probe.level(fmod(8.0 * 16.0, 128.0));
    EXPECT_EQ(probe.white, 1);
  }
}

TEST(MovieArchiveContent, ChannelMoviesCutTheirViewsAndPlaneClosesOnOneView) {
  for (const char* name : {"bar0.swf", "bar1.swf", "bar2.swf", "plane.swf", "linecube.swf", "end.swf", "bar3.swf"}) {
    const MovieScript& m = script(name);
    for (const movies::LayerTrack& track : m.layers) {
      bool on = false, off = false;
      for (const auto& f : track.frames) (f.alpha > 0.125f ? on : off) = true;
      EXPECT_TRUE(on && off) << name << " depth " << track.depth;
    }
  }
  // The bars are different cut lists.
  auto pattern = [](const char* name) {
    std::vector<bool> p;
    for (const auto& track : script(name).layers)
      for (const auto& f : track.frames) p.push_back(f.alpha > 0.0f);
    return p;
  };
  EXPECT_NE(pattern("bar0.swf"), pattern("bar1.swf"));
  EXPECT_NE(pattern("bar1.swf"), pattern("bar2.swf"));
  EXPECT_NE(pattern("bar0.swf"), pattern("bar2.swf"));

  std::vector<unsigned char> plane = readContent("plane.swf");
  swfScript player(plane.data(), true, plane.size());
  float channel[4][4] = {};
  for (int k = 0; k < 4; ++k) player.requestColour(k + 1, channel[k]);
  player.update(112.0);
  for (int k = 0; k < 4; ++k) EXPECT_GT(channel[k][3], 0.9f) << k;
  // Views 1-3 are out two beats later; view 4 stays on to the scene's last
  // frame, which still shows the fading grid.
  player.update(120.0);
  for (int k = 0; k < 3; ++k) EXPECT_LE(channel[k][3], 0.01f) << k;
  player.update(127.9);
  EXPECT_GT(channel[3][3], 0.9f);
}

TEST(MovieArchiveContent, CameraMoviesCueTheirCamerasInBothCommandForms) {
  auto cameras = [](const char* name) {
    std::vector<unsigned char> bytes = readContent(name);
    swfScript player(bytes.data(), true, bytes.size());
    player.loop = false;
    std::vector<std::pair<int, std::string>> cues;
    int frame = 0;
    player.registerCommand("setCamera", [&](SwfMovie*, SwfArguments args) {
      cues.push_back({frame, args.at(1)});
      return 0;
    });
    for (frame = 0; frame <= 100; ++frame) player.update(frame);
    std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("fscommand:"), std::string::npos) << name;
    return cues;
  };
  auto bug = cameras("bug.swf");
  std::set<std::string> bugNames;
  for (const auto& c : bug) bugNames.insert(c.second);
  EXPECT_EQ(bugNames, (std::set<std::string>{"Camera01", "Camera02", "under", "hunder", "Camera03"}));
  std::string at56, at80;
  for (const auto& c : bug) {
    if (c.first <= 56) at56 = c.second;
    if (c.first <= 80) at80 = c.second;
  }
  EXPECT_EQ(at56, "Camera03");
  EXPECT_NE(at80, "Camera03");

  auto tentacle = cameras("tentacle.swf");
  ASSERT_FALSE(tentacle.empty());
  EXPECT_EQ(tentacle.back().second, "cap8");
  EXPECT_GT(tentacle.back().first, 92);
  std::set<std::string> names;
  for (const auto& c : tentacle) names.insert(c.second);
  for (const char* n : {"Camera0", "inside", "circle", "uptop", "cap0", "cap1", "cap2", "cap3", "cap4",
                        "cap5", "cap6", "cap7", "cap8"})
    EXPECT_EQ(names.count(n), 1u) << n;
}

TEST(MovieArchiveContent, RegistryLoadsMoviesFromTheArchiveAndLooseFiles) {
  ResourceRegistry registry;
  registry.usePack = true;
  registry.packName = std::string(ZOLT_OUTPUT_DIR) + "/trov.qz5";
  std::unique_ptr<swfScript> rhythm(registry.loadSwf("RHYTHM2.swf"));
  ASSERT_NE(rhythm, nullptr);
  EXPECT_TRUE(rhythm->loaded());
  EXPECT_EQ(rhythm->current->frameCount, 128);
  testing::internal::CaptureStdout();
  std::unique_ptr<swfScript> missing(registry.loadSwf("nothing.swf"));
  std::string out = testing::internal::GetCapturedStdout();
  ASSERT_NE(missing, nullptr);
  EXPECT_FALSE(missing->loaded());
  EXPECT_NE(out.find("screwup in swfScript constructor"), std::string::npos);

  ResourceRegistry loose;
  loose.rootPath = std::string(ZOLT_CONTENT_DIR) + "/";
  std::unique_ptr<swfScript> bug(loose.loadSwf("bug.swf"));
  EXPECT_TRUE(bug->loaded());
  EXPECT_EQ(bug->current->frameCount, 96);
}
