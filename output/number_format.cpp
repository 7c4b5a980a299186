#include "output/number_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

double readBack(const char* text, float*) {
  return std::strtof(text, nullptr);
}

double readBack(const char* text, double*) {
  return std::strtod(text, nullptr);
}

// The fewest significant digits that read back as the same value.
template <typename T>
std::string shortest(T value) {
  char buffer[64];
  for (int digits = 1; digits <= 17; ++digits) {
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, static_cast<double>(value));
    if (static_cast<T>(readBack(buffer, static_cast<T*>(nullptr))) == value) break;
  }
  return buffer;
}

}  // namespace

std::string shortestText(float value) {
  return shortest(value);
}

std::string shortestText(double value) {
  // Shortest form would write a million as "1e+06".
  if (value == std::floor(value) && std::fabs(value) < 1e15) {
    return std::to_string(static_cast<long long>(value));
  }
  return shortest(value);
}

double asWritten(float value) {
  return std::strtod(shortestText(value).c_str(), nullptr);
}
