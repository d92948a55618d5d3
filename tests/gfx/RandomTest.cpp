#include <gtest/gtest.h>

#include "gfx/Random.h"

TEST(Random, FirstDrawsFromSeedOneMatchTheShowsSequence) {
  zolt::seedRandom(1);
  EXPECT_EQ(zolt::random(), 41);
  EXPECT_EQ(zolt::random(), 18467);
  EXPECT_EQ(zolt::random(), 6334);
  zolt::seedRandom(1);
  EXPECT_EQ(zolt::random(), 41);
}
