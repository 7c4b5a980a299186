// The run's one random source: a 32-bit linear congruential generator. The
// same seed and the same inputs must give the same list, so every draw of a
// run comes from this one sequence, in a fixed order.
#ifndef STIMSEL_SELECT_RANDOM_SOURCE_H_
#define STIMSEL_SELECT_RANDOM_SOURCE_H_

#include <cstdint>

// Seeds the source with the current calendar time in whole seconds.
void seedRandom();

// Seeds the source with `seed`, so that a list can be drawn again.
void seedRandomWith(std::uint32_t seed);

// One draw: state = state * 214013 + 2531011 (mod 2^32), and the value is
// bits 16..30 of the new state, 0 to 32767. Seeded with 1, the first is 41.
int nextRandom();

// One draw reduced modulo n (n > 0): an index from 0 to n - 1.
int randomIndex(int n);

#endif  // STIMSEL_SELECT_RANDOM_SOURCE_H_
