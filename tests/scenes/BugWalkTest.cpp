// The creatures' walk without GL: one step per 6 time units with the legs
// swinging one after another, waypoints that wander forward until the
// target is near, and a swarm that reaches the gathering image in time.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "gfx/Random.h"
#include "scenes/effects/Terrain.h"
#include "scenes/swarm/Bug.h"
#include "scenes/swarm/BugSwarmScene.h"
#include "scenes/swarm/SwarmSettings.h"
#include "show/ResourceRegistry.h"

namespace {

class BugWalk : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { terrain = new Terrain(false); }
  static void TearDownTestSuite() {
    delete terrain;
    terrain = nullptr;
  }
  void SetUp() override { zolt::seedRandom(1); }

  static Terrain* terrain;
  BugJitter jitter;
};

Terrain* BugWalk::terrain = nullptr;

bool sameLeg(const BugLeg& a, const BugLeg& b) { return a.foot == b.foot && a.knee == b.knee; }

TEST_F(BugWalk, StartsInsideTheStripBehindTheImage) {
  for (int i = 0; i < 200; ++i) {
    Bug bug(terrain, &jitter);
    EXPECT_GE(bug.position.x, -15.0f);
    EXPECT_LE(bug.position.x, 15.0f);
    EXPECT_GE(bug.position.z, -64.0f + 2.5f + 3.0f);
    EXPECT_LE(bug.position.z, -64.0f + 2.5f + 50.0f);
    EXPECT_GE(bug.phaseOffset, 0.0f);
    EXPECT_LE(bug.phaseOffset, 1.0f);
    EXPECT_EQ(bug.lastStep, -1);
  }
}

TEST_F(BugWalk, ArcsAreEightSegmentsPerStripWithTheJitterInDrawingOrder) {
  jitter.build();
  Bug bug(terrain, &jitter);
  bug.placeLegs();
  bug.walk(8.5f);
  BugArcBatch arcs;
  arcs.vertices.resize(5);  // another creature's arcs before these
  bug.appendArcs(arcs);
  ASSERT_EQ(arcs.vertices.size(), 5u + 27u);
  ASSERT_EQ(arcs.indices.size(), 3u * 16u);
  EXPECT_EQ(jitter.index, 27u * 3u) << "nine values per arc";
  for (int i = 0; i < 3; ++i) {
    const Vec3 control[4] = {bug.legs[i].foot, bug.legs[i].knee, bug.legs[5 - i].knee, bug.legs[5 - i].foot};
    for (int n = 0; n < 16; ++n) {
      const int k = (n + 1) / 2;  // the strip point this segment end stands on
      const unsigned index = arcs.indices[size_t(i * 16 + n)];
      ASSERT_EQ(index, 5u + unsigned(i * 9 + k));
      const BugArcVertex& v = arcs.vertices[index];
      EXPECT_EQ(v.parameter[0], float(k) / 8.0f);
      EXPECT_EQ(v.jitter[2], jitter.table[size_t(i * 9 + k) * 3]) << "arc " << i << " end " << n;
      for (int unit = 0; unit < 4; ++unit) {
        const float* c = v.control[unit];
        EXPECT_EQ(Vec3(c[0], c[1], c[2]), control[unit]);
      }
    }
  }
}

TEST_F(BugWalk, StepsEverySixUnitsAndSwingsOneLegPerUnit) {
  Bug bug(terrain, &jitter);
  bug.phaseOffset = 0.0f;
  bug.placeLegs();
  bug.walk(0.0f);
  EXPECT_EQ(bug.lastStep, 0);
  const Vec3 afterFirst = bug.position;
  EXPECT_NEAR((bug.position - bug.previous).length(), 1.5f, 1e-4f);

  // Within the step nothing moves on: only the legs.
  bug.walk(2.5f);
  EXPECT_EQ(bug.position, afterFirst);
  EXPECT_TRUE(sameLeg(bug.legs[0], bug.stepLegs[0]));
  EXPECT_TRUE(sameLeg(bug.legs[1], bug.stepLegs[1]));
  EXPECT_TRUE(sameLeg(bug.legs[3], bug.restLegs[3]));
  EXPECT_TRUE(sameLeg(bug.legs[5], bug.restLegs[5]));
  // Leg 2 is halfway, its foot lifted by a quarter.
  const Vec3 halfway = (bug.restLegs[2].foot + bug.stepLegs[2].foot) * 0.5f;
  EXPECT_NEAR(bug.legs[2].foot.x, halfway.x, 1e-5f);
  EXPECT_NEAR(bug.legs[2].foot.y, halfway.y + 0.25f, 1e-5f);
  EXPECT_NEAR(bug.legs[2].foot.z, halfway.z, 1e-5f);

  bug.walk(5.99f);
  EXPECT_EQ(bug.position, afterFirst);
  bug.walk(6.0f);
  EXPECT_EQ(bug.lastStep, 1);
  EXPECT_EQ(bug.previous, afterFirst);
  EXPECT_NE(bug.position, afterFirst);
  // Every leg stands at its rest place when the step begins.
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(sameLeg(bug.legs[i], bug.restLegs[i])) << i;
}

TEST_F(BugWalk, FeetStandOnTheGroundAndKneesAUnitAbove) {
  Bug bug(terrain, &jitter);
  bug.placeLegs();
  for (const BugLeg& leg : bug.stepLegs) {
    EXPECT_EQ(leg.foot.y, terrain->heightAt(leg.foot.x, leg.foot.z));
    EXPECT_EQ(leg.knee.y, terrain->heightAt(leg.knee.x, leg.knee.z) + 1.0f);
    const float reach = std::hypot(leg.foot.x - bug.position.x, leg.foot.z - bug.position.z);
    EXPECT_NEAR(reach, 1.0f, 1e-4f);
  }
}

TEST_F(BugWalk, ReachedWaypointWithTheTargetFarAheadGetsAFurtherOne) {
  Bug bug(terrain, &jitter);
  bug.position = Vec3(2.0f, 0.0f, 10.0f);
  bug.waypoint = Vec3(2.5f, 0.0f, 10.3f);
  bug.target = Vec3(0.0f, 0.0f, 150.0f);
  bug.step();
  EXPECT_GE(bug.waypoint.z, 15.0f);
  EXPECT_LE(bug.waypoint.z, 20.0f);
  EXPECT_GE(bug.waypoint.x, -14.0f);
  EXPECT_LE(bug.waypoint.x, 14.0f);
}

TEST_F(BugWalk, TargetWithinFourOrBehindBecomesTheWaypoint) {
  for (float targetZ : {13.5f, 10.0f, 2.0f}) {
    Bug bug(terrain, &jitter);
    bug.position = Vec3(2.0f, 0.0f, 10.0f);
    bug.waypoint = Vec3(2.5f, 0.0f, 10.3f);
    bug.target = Vec3(-6.0f, 0.0f, targetZ);
    bug.step();
    EXPECT_EQ(bug.waypoint, bug.target) << "target at z " << targetZ;
  }
}

// The whole swarm as the show builds it, walked at 30 frames a second.
TEST(BugSwarmWalk, EveryCreatureReachesItsPixelBeforeTheFade) {
  ResourceRegistry registry;
  registry.rootPath = ZOLT_CONTENT_DIR "/";
  int32_t w = 0, h = 0;
  ASSERT_EQ(registry.getJpegSize("lastEffect.jpg", &w, &h), 0);
  std::vector<unsigned char> rgb(size_t(w) * h * 3);
  ASSERT_EQ(registry.decodeJpeg("lastEffect.jpg", rgb.data()), 0);

  zolt::seedRandom(1);
  Terrain terrain(false);
  BugJitter jitter;
  jitter.build();
  const SwarmSettings settings;  // the shipped numbers
  std::vector<Bug> swarm;
  for (int i = 0; i < settings.numBugs; ++i) swarm.emplace_back(&terrain, &jitter);
  for (Bug& bug : swarm) bug.placeLegs();
  ASSERT_EQ(placeTargets(swarm, rgb.data(), w, h), settings.numBugs);
  for (const Bug& bug : swarm) {
    const int row = int(std::lround((15.0f - bug.target.x) * float(h) / 30.0f));
    const int col = int(std::lround((bug.target.z - 144.0f) * float(w) / 70.0f));
    ASSERT_EQ(rgb[(size_t(row) * w + col) * 3], 0) << "targets sit on dark pixels";
  }

  // Most have arrived when the last camera cut shows the image (beat 80),
  // all of them well before the fade (beat 94).
  auto walkTo = [&](float beat) {
    static float t = 0.0f;
    for (; t <= beat * 60.0f / 130.0f; t += 1.0f / 30.0f)
      for (Bug& bug : swarm) bug.walk(t * float(settings.speed));
    int near = 0;
    for (const Bug& bug : swarm) near += (bug.position - bug.target).length() < 3.0f;
    return near;
  };
  EXPECT_GT(walkTo(80.0f), settings.numBugs * 3 / 4);
  EXPECT_EQ(walkTo(88.0f), settings.numBugs);
}

TEST(BugSwarmTargets, AnImageWithoutDarkPixelsEndsTheSearch) {
  zolt::seedRandom(1);
  Terrain terrain(false);
  BugJitter jitter;
  std::vector<Bug> swarm;
  for (int i = 0; i < 50; ++i) swarm.emplace_back(&terrain, &jitter);
  std::vector<unsigned char> white(64 * 32 * 3, 255);
  EXPECT_EQ(placeTargets(swarm, white.data(), 64, 32), 0);
  for (const Bug& bug : swarm) {
    EXPECT_EQ(bug.target.z, 179.0f);
    EXPECT_LE(std::fabs(bug.target.x), 14.0f);
  }
  // A small dark patch: every creature finds it.
  for (int row = 5; row < 9; ++row)
    for (int col = 10; col < 14; ++col) white[(size_t(row) * 64 + col) * 3] = 0;
  EXPECT_EQ(placeTargets(swarm, white.data(), 64, 32), 50);
  for (const Bug& bug : swarm) {
    EXPECT_GE(bug.target.x, 15.0f - 8 * 30.0f / 32);
    EXPECT_LE(bug.target.x, 15.0f - 5 * 30.0f / 32);
    EXPECT_GE(bug.target.z, 144.0f + 10 * 70.0f / 64);
    EXPECT_LE(bug.target.z, 144.0f + 13 * 70.0f / 64);
  }
  EXPECT_EQ(placeTargets(swarm, nullptr, 0, 0), 0);
}

}  // namespace
