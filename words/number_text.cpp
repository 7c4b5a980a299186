#include "words/number_text.h"

#include <charconv>
#include <cmath>

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

// from_chars rounds correctly, as strtof does, but takes no "+" sign.
template <typename T>
NumberStatus parseDecimalAs(std::string_view token, T& value) {
  if (!isDecimal(token)) return NumberStatus::NotANumber;
  if (token[0] == '+') token.remove_prefix(1);
  T parsed = 0;
  const auto result = std::from_chars(token.data(), token.data() + token.size(), parsed);
  if (result.ec != std::errc() || !std::isfinite(parsed) || std::fabs(parsed) > kLargestMagnitude) {
    return NumberStatus::OutOfRange;
  }
  value = parsed;
  return NumberStatus::Ok;
}

}  // namespace

size_t integerEnd(std::string_view text, size_t pos) {
  const size_t digits = skipSign(text, pos);
  const size_t end = skipDigits(text, digits);
  return end == digits ? pos : end;
}

bool parseInt32(std::string_view token, int& value) {
  if (token.empty() || integerEnd(token, 0) != token.size()) return false;
  if (token[0] == '+') token.remove_prefix(1);
  const auto result = std::from_chars(token.data(), token.data() + token.size(), value);
  return result.ec == std::errc();
}

NumberStatus parseDecimal(std::string_view token, float& value) {
  return parseDecimalAs(token, value);
}

NumberStatus parseDecimal(std::string_view token, double& value) {
  return parseDecimalAs(token, value);
}
