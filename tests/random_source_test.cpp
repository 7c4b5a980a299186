#include "select/random_source.h"

#include <gtest/gtest.h>

namespace {

TEST(RandomSource, SeedOneGivesTheKnownSequence) {
  seedRandomWith(1);
  const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
  for (int value : expected) EXPECT_EQ(nextRandom(), value);
}

TEST(RandomSource, IndexIsTheDrawModuloN) {
  seedRandomWith(1);
  EXPECT_EQ(randomIndex(10), 1);      // 41
  EXPECT_EQ(randomIndex(1000), 467);  // 18467
  EXPECT_EQ(randomIndex(1), 0);
}

TEST(RandomSource, StateWrapsAt32Bits) {
  // 0xFFFFFFFF * 214013 + 2531011 wraps to 2316998 mod 2^32; 2316998 >> 16 = 35.
  seedRandomWith(0xFFFFFFFFu);
  EXPECT_EQ(nextRandom(), 35);
}

}  // namespace
