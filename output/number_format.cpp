#include "output/number_format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

template <typename T>
std::string shortest(T value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
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
