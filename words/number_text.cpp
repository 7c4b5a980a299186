#include "words/number_text.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

size_t skipSign(const std::string& s, size_t pos) {
  return pos < s.size() && (s[pos] == '+' || s[pos] == '-') ? pos + 1 : pos;
}

size_t skipDigits(const std::string& s, size_t pos) {
  while (pos < s.size() && isDigit(s[pos])) ++pos;
  return pos;
}

bool isDecimal(const std::string& s) {
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

}  // namespace

size_t integerEnd(const std::string& text, size_t pos) {
  const size_t digits = skipSign(text, pos);
  const size_t end = skipDigits(text, digits);
  return end == digits ? pos : end;
}

bool parseInt32(const std::string& token, int& value) {
  if (token.empty() || integerEnd(token, 0) != token.size()) return false;
  errno = 0;
  const long long v = std::strtoll(token.c_str(), nullptr, 10);
  if (errno == ERANGE || v < INT_MIN || v > INT_MAX) return false;
  value = static_cast<int>(v);
  return true;
}

bool parseDecimal(const std::string& token, float& value) {
  if (!isDecimal(token)) return false;
  value = std::strtof(token.c_str(), nullptr);
  return true;
}
