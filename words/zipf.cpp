#include "words/zipf.h"

#include <algorithm>
#include <cmath>

double zipfOf(double perMillion) {
  return std::log10(std::max(perMillion, kZipfFloorPerMillion)) + 3;
}
