// A scene played a second time in one process draws what it drew the first
// time: nothing a scene loads or draws may outlive the show that built it
// (the frame-time benchmark measures its second player). The finale's
// gallery opens at beat 32 with views of the tentacle ball, whose program
// belongs to the context of the show that made it.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tools/sceneplayer/ScenePlayer.h"

namespace {

// Primitives per frame up to `lastBeat`, at a low rate: the history still
// runs through every cue, in few frames.
std::vector<uint64_t> primitivesPerFrame(int scene, float lastBeat) {
  std::vector<uint64_t> counts;
  ScenePlayer player;
  if (!player.open(scene, 320, 240)) return counts;
  player.play(2.0f, lastBeat, [&](const PlayedFrame& frame) {
    counts.push_back(frame.primitives);
    return true;
  });
  return counts;
}

TEST(ScenePlayedTwice, TheFinaleDrawsTheSamePrimitivesIntoItsGallery) {
  const std::vector<uint64_t> first = primitivesPerFrame(7, 36.0f);
  if (first.empty()) GTEST_SKIP() << "no OpenGL context";
  const std::vector<uint64_t> second = primitivesPerFrame(7, 36.0f);
  ASSERT_EQ(second.size(), first.size());
  EXPECT_EQ(second, first);
  EXPECT_GT(first.back(), 1000u) << "the gallery's view of the tentacles is drawn";
}

}  // namespace
