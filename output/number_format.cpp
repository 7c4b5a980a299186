#include "output/number_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

double readBack(const char* text, float*) {
  return std::strtof(text, nullptr);
}

double readBack(const char* text, double*) {
  return std::strtod(text, nullptr);
}

// Adds one unit in the last place of a string of decimal digits; a carry
// out of the first digit adds a new leading "1".
void incrementDigits(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  digits.insert(digits.begin(), '1');
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

double dataFigure(double value) {
  if (!std::isfinite(value)) return value;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*g", kDataFigureDigits, value);
  return std::strtod(buffer, nullptr);
}

double asWritten(float value) {
  return std::strtod(shortestText(value).c_str(), nullptr);
}

std::string fixedDecimals(double value, int decimals) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  decimals = std::max(decimals, 0);
  // "-d.dddddddddddddde+XX": 15 significant digits and a decimal exponent.
  constexpr int kSignificant = 15;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", kSignificant - 1, value);
  const std::string_view text(buffer);
  const bool negative = text.front() == '-';
  const std::string_view mantissa = text.substr(negative ? 1 : 0);
  std::string digits;
  digits += mantissa[0];
  digits.append(mantissa.substr(2, kSignificant - 1));
  const int exponent = std::atoi(buffer + text.find('e') + 1);

  // Digit i is worth 10^(exponent - i); the result keeps those worth at
  // least 10^-decimals and rounds on the first one dropped.
  const int kept = exponent + decimals + 1;
  std::string units;  // the result in units of 10^-decimals
  if (kept >= kSignificant) {
    units = digits + std::string(static_cast<size_t>(kept - kSignificant), '0');
  } else if (kept >= 0) {
    units = digits.substr(0, static_cast<size_t>(kept));
    if (digits[static_cast<size_t>(kept)] >= '5') incrementDigits(units);
  }
  // kept < 0: the value is below a tenth of a unit and rounds to zero.
  const size_t firstNonZero = units.find_first_not_of('0');
  if (firstNonZero == std::string::npos) {
    units = "0";
  } else {
    units.erase(0, firstNonZero);
  }
  const bool zero = units == "0";
  if (units.size() < static_cast<size_t>(decimals) + 1) {
    units.insert(0, static_cast<size_t>(decimals) + 1 - units.size(), '0');
  }
  if (decimals > 0) units.insert(units.size() - static_cast<size_t>(decimals), ".");
  return negative && !zero ? "-" + units : units;
}
