#include "select/random_source.h"

#include <ctime>

namespace {
std::uint32_t state = 1;
}

void seedRandom() {
  state = static_cast<std::uint32_t>(std::time(nullptr));
}

void seedRandomWith(std::uint32_t seed) {
  state = seed;
}

int nextRandom() {
  state = state * 214013u + 2531011u;
  return static_cast<int>((state >> 16) & 0x7FFFu);
}

int randomIndex(int n) {
  return nextRandom() % n;
}
