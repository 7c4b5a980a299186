#include "words/number_text.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

size_t integerEnd(const std::string& text, size_t pos) {
  size_t end = pos;
  if (end < text.size() && (text[end] == '+' || text[end] == '-')) ++end;
  const size_t digits = end;
  while (end < text.size() && isDigit(text[end])) ++end;
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
