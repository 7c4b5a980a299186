#include "words/number_text.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

size_t skipSign(std::string_view s, size_t pos) {
  return pos < s.size() && (s[pos] == '+' || s[pos] == '-') ? pos + 1 : pos;
}

size_t skipDigits(std::string_view s, size_t pos) {
  while (pos < s.size() && isDigit(s[pos])) ++pos;
  return pos;
}

bool isDecimal(std::string_view s) {
  const size_t intStart = skipSign(s, 0);
  size_t pos = skipDigits(s, intStart);
  bool hasDigits = pos > intStart;
  if (pos < s.size() && s[pos] == '.') {
    const size_t fracEnd = skipDigits(s, pos + 1);
    hasDigits = hasDigits || fracEnd > pos + 1;
    pos = fracEnd;
  }
  if (!hasDigits) return false;
  if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E')) {
    pos = integerEnd(s, pos + 1);
    if (!isDigit(s[pos - 1])) return false;
  }
  return pos == s.size();
}

bool parseShortDecimal(std::string_view s, float& value) {
  const char* p = s.data();
  float parsed = 0;
  if (!takeShortDecimal(p, p + s.size(), parsed) || p != s.data() + s.size()) return false;
  value = parsed;
  return true;
}

// The same for doubles: up to 15 digits make an integer below 2^53 and the
// power of ten is at most 10^15, both exact doubles, so one division rounds
// correctly, to the double strtod gives.
bool parseShortDecimal(std::string_view s, double& value) {
  const char* p = s.data();
  const char* const end = p + s.size();
  const bool negative = p != end && *p == '-';
  if (p != end && (*p == '-' || *p == '+')) ++p;
  const char* const first = p;
  std::uint64_t digits = 0;  // wraps harmlessly past 19 digits, which are refused
  for (; p != end && isDigit(*p); ++p) digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
  long count = p - first;
  long decimals = 0;
  if (p != end && *p == '.') {
    const char* const fraction = ++p;
    for (; p != end && isDigit(*p); ++p)
      digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
    decimals = p - fraction;
    count += decimals;
  }
  if (p != end || count == 0 || count > 15) return false;
  static const double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  const double magnitude = static_cast<double>(digits) / kPowers[decimals];
  if (magnitude > kLargestMagnitude) return false;
  value = negative ? -magnitude : magnitude;
  return true;
}

float parseWhole(const std::string& text, float*) {
  return std::strtof(text.c_str(), nullptr);
}

double parseWhole(const std::string& text, double*) {
  return std::strtod(text.c_str(), nullptr);
}

// strtof and strtod round correctly and, in the C locale the program keeps,
// read "." as the decimal point; they report overflow and underflow in errno.
template <typename T>
NumberStatus parseDecimalAs(std::string_view token, T& value, double largest) {
  // A value the fast path reads beyond `largest` is left to the exact path,
  // which refuses it.
  if (parseShortDecimal(token, value) && std::fabs(value) <= largest) return NumberStatus::Ok;
  if (!isDecimal(token)) return NumberStatus::NotANumber;
  errno = 0;
  const T parsed = parseWhole(std::string(token), static_cast<T*>(nullptr));
  if (errno == ERANGE || !std::isfinite(parsed) || std::fabs(parsed) > largest) {
    return NumberStatus::OutOfRange;
  }
  value = parsed;
  return NumberStatus::Ok;
}

}  // namespace

// Most ratings are short decimals ("5.67"). Their digits make an integer
// below 2^24 and the power of ten is at most 10^7, both exact floats, so one
// float division rounds correctly (Clinger's fast path): the same float
// strtof gives, at a fraction of the cost.
bool takeShortDecimal(const char*& p, const char* end, float& value) {
  // The commonest form of all, "d.dd", read without the loops; the same
  // digits over the same power of ten as below.
  if (end - p >= 4 && isDigit(p[0]) && p[1] == '.' && isDigit(p[2]) && isDigit(p[3]) &&
      (end - p == 4 || !isDigit(p[4]))) {
    const auto digits = static_cast<std::uint32_t>((p[0] - '0') * 100 + (p[2] - '0') * 10 +
                                                   (p[3] - '0'));
    value = static_cast<float>(digits) / 100.0f;
    p += 4;
    return true;
  }
  const bool negative = p != end && *p == '-';
  const char* q = p != end && (*p == '-' || *p == '+') ? p + 1 : p;
  const char* const first = q;
  std::uint32_t digits = 0;  // wraps harmlessly past seven digits, which are refused
  for (; q != end && isDigit(*q); ++q) digits = digits * 10 + static_cast<std::uint32_t>(*q - '0');
  long count = q - first;
  long decimals = 0;
  if (q != end && *q == '.') {
    const char* const fraction = ++q;
    for (; q != end && isDigit(*q); ++q) {
      digits = digits * 10 + static_cast<std::uint32_t>(*q - '0');
    }
    decimals = q - fraction;
    count += decimals;
  }
  if (count == 0 || count > 7) return false;
  static const float kPowers[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f};
  const float magnitude = static_cast<float>(digits) / kPowers[decimals];
  if (magnitude > kLargestMagnitude) return false;
  value = negative ? -magnitude : magnitude;
  p = q;
  return true;
}

size_t integerEnd(std::string_view text, size_t pos) {
  const size_t digits = skipSign(text, pos);
  const size_t end = skipDigits(text, digits);
  return end == digits ? pos : end;
}

bool parseInt32(std::string_view token, int& value) {
  const char* p = token.data();
  const char* const end = p + token.size();
  const bool negative = p != end && *p == '-';
  if (p != end && (*p == '-' || *p == '+')) ++p;
  if (p == end || end - p > 10) return false;
  long long magnitude = 0;
  for (; p != end; ++p) {
    if (!isDigit(*p)) return false;
    magnitude = magnitude * 10 + (*p - '0');
  }
  const long long signedValue = negative ? -magnitude : magnitude;
  if (signedValue < INT32_MIN || signedValue > INT32_MAX) return false;
  value = static_cast<int>(signedValue);
  return true;
}

NumberStatus parseDecimal(std::string_view token, float& value) {
  return parseDecimalAs(token, value, kLargestMagnitude);
}

NumberStatus parseDecimal(std::string_view token, double& value) {
  return parseDecimalAs(token, value, kLargestMagnitude);
}

NumberStatus parseDecimal(std::string_view token, double& value, double largest) {
  return parseDecimalAs(token, value, largest);
}

std::string decimalText(double value, double reference) {
  const double tolerance = 1e-14 * std::max(std::fabs(value), std::fabs(reference));
  char buffer[400];
  for (int decimals = 0; decimals <= 330; ++decimals) {
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    if (std::fabs(std::strtod(buffer, nullptr) - value) <= tolerance) break;
  }
  std::string text = buffer;
  if (text.find_first_not_of("-0.") == std::string::npos) return "0";
  return text;
}
