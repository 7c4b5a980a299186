#include "select/random_source.h"

#include <gtest/gtest.h>

namespace {

TEST(RandomSource, SeedOneGivesTheKnownSequence) {
  RandomSource random(1);
  const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
  for (int value : expected) EXPECT_EQ(random.next(), value);
}

TEST(RandomSource, IndexIsTheDrawModuloN) {
  RandomSource random(1);
  EXPECT_EQ(random.index(10), 1);      // 41
  EXPECT_EQ(random.index(1000), 467);  // 18467
  EXPECT_EQ(random.index(1), 0);
  EXPECT_EQ(random.index(32768), 26500);
}

TEST(RandomSource, TablesBeyond32768RecordsTakeTwoDrawsPerIndex) {
  // Seed 1: 41, 18467, 6334, 26500: (41 << 15 | 18467) % 40000 and
  // (6334 << 15 | 26500) % 40000.
  RandomSource random(1);
  EXPECT_EQ(random.index(40000), ((41 << 15) | 18467) % 40000);
  EXPECT_EQ(random.index(40000), ((6334 << 15) | 26500) % 40000);
  EXPECT_EQ(random.next(), 19169);
}

TEST(RandomSource, StateWrapsAt32Bits) {
  // 0xFFFFFFFF * 214013 + 2531011 wraps to 2316998 mod 2^32; 2316998 >> 16 = 35.
  RandomSource random(0xFFFFFFFFu);
  EXPECT_EQ(random.next(), 35);
}

TEST(RandomSource, TwoSourcesDoNotShareState) {
  RandomSource first(1);
  RandomSource second(1);
  first.next();
  EXPECT_EQ(second.next(), 41);
}

}  // namespace
