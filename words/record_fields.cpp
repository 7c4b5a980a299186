#include "words/record_fields.h"

#include <cmath>

#include "words/letters.h"
#include "words/number_text.h"

std::string quoted(std::string_view token) {
  constexpr size_t kShown = 40;
  if (token.size() <= kShown) return "\"" + std::string(token) + "\"";
  return "\"" + std::string(token.substr(0, kShown)) + "...\"";
}

std::string outOfRange(const std::string& what, std::string_view token) {
  return what + " " + quoted(token) + " is out of range (-1000000 to 1000000)";
}

bool parseWord(std::string_view token, WordRecord& record, std::string& problem) {
  if (token.empty()) {
    problem = "the word is empty";
    return false;
  }
  const int letters = letterCount(token);
  if (letters > kMaxWordLength) {
    problem = "word " + quoted(token) + " is longer than " + std::to_string(kMaxWordLength) +
              " characters";
    return false;
  }
  if (token.find('\0') != std::string_view::npos) {
    problem = "word contains a NUL byte";
    return false;
  }
  // Exports write words between tabs and line ends.
  if (token.find_first_of("\t\r\n") != std::string_view::npos) {
    problem = "word " + quoted(token) + " holds a tab or a line break";
    return false;
  }
  record.word = std::string(token);
  record.len = letters;
  return true;
}

bool parseRating(std::string_view token, const std::string& what, float& value,
                 std::string& problem) {
  switch (parseDecimal(token, value)) {
    case NumberStatus::Ok:
      return true;
    case NumberStatus::OutOfRange:
      problem = outOfRange(what, token);
      return false;
    case NumberStatus::NotANumber:
      break;
  }
  problem = what + " " + quoted(token) + " is not a decimal number";
  return false;
}

bool parseFrequencyValue(std::string_view token, const std::string& what, WordRecord& record,
                         std::string& problem) {
  double value = 0;
  switch (parseDecimal(token, value)) {
    case NumberStatus::Ok:
      record.freq = value;
      record.wholeFreq = value == std::floor(value);
      return true;
    case NumberStatus::OutOfRange:
      problem = outOfRange(what, token);
      return false;
    case NumberStatus::NotANumber:
      break;
  }
  problem = what + " " + quoted(token) + " is not a decimal number";
  return false;
}
